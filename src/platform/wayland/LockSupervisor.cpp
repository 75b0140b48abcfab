#include "platform/wayland/LockSupervisor.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>

#include "settings/Product.h"

namespace bw {

namespace {

// Names the pipe's writing end in the saver's environment.
constexpr const char* kReportVariable = "BRINEWAVE3_LOCK_REPORT_FD";
// Set for a saver started again on the lock its predecessor left.
constexpr const char* kTakenOverVariable = "BRINEWAVE3_LOCK_TAKEN_OVER";
constexpr int kQuickDeaths = 5;
constexpr auto kQuickDeathWindow = std::chrono::seconds(10);

void report(char state) {
    const char* fd = std::getenv(kReportVariable);
    if (!fd || !*fd) return;
    const ssize_t written = write(std::atoi(fd), &state, 1);
    (void)written;  // a supervisor that is gone has nothing to restart
}

// Reads what the saver reported until it closed its end (ended); the last state wins.
bool endedLocked(int readEnd) {
    bool locked = false;
    char state = 0;
    ssize_t got = 0;
    while ((got = read(readEnd, &state, 1)) != 0) {
        if (got < 0) {
            if (errno == EINTR) continue;
            break;
        }
        locked = state == 'L';
    }
    return locked;
}

}  // namespace

std::optional<int> superviseSessionLock() {
    std::deque<std::chrono::steady_clock::time_point> deaths;
    for (;;) {
        // Closed on exec: the programs the saver starts (the art generator outlives it) must
        // not hold the pipe open.
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;  // run unsupervised
        const pid_t saver = fork();
        if (saver < 0) {
            close(ends[0]);
            close(ends[1]);
            return std::nullopt;
        }
        if (saver == 0) {
            close(ends[0]);
            setenv(kReportVariable, std::to_string(ends[1]).c_str(), 1);
            return std::nullopt;
        }
        close(ends[1]);
        const bool locked = endedLocked(ends[0]);
        close(ends[0]);
        int status = 0;
        while (waitpid(saver, &status, 0) < 0 && errno == EINTR) {
        }
        const int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (!locked) return exitStatus;

        const auto now = std::chrono::steady_clock::now();
        deaths.push_back(now);
        while (now - deaths.front() > kQuickDeathWindow) deaths.pop_front();
        if (int(deaths.size()) >= kQuickDeaths) {
            std::fprintf(stderr,
                         "%s: the saver keeps ending while the session is locked; not starting it "
                         "again\n",
                         kProductName);
            return 1;
        }
        std::fprintf(stderr,
                     "%s: the saver ended while the session was locked; starting it again\n",
                     kProductName);
        setenv(kTakenOverVariable, "1", 1);
    }
}

void reportSessionLocked() { report('L'); }

void reportSessionUnlocked() { report('U'); }

bool sessionLockTakenOver() {
    const char* value = std::getenv(kTakenOverVariable);
    return value && *value == '1';
}

}  // namespace bw
