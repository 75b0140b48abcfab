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
    // A supervisor that is gone must not end the saver (and leave the session locked).
    std::signal(SIGPIPE, SIG_IGN);
    const ssize_t written = write(std::atoi(fd), &state, 1);
    (void)written;  // a supervisor that is gone has nothing to restart
}

// Reads what the saver reports until it closes its end (ends); the last state wins. The first
// "locked" is passed on to `lockedFd` (when there is one), which is then closed.
bool endedLocked(int readEnd, int& lockedFd) {
    bool locked = false;
    char state = 0;
    ssize_t got = 0;
    while ((got = read(readEnd, &state, 1)) != 0) {
        if (got < 0) {
            if (errno == EINTR) continue;
            break;
        }
        locked = state == 'L';
        if (locked && lockedFd >= 0) {
            const ssize_t written = write(lockedFd, &state, 1);
            (void)written;  // the starting process may be gone already
            close(lockedFd);
            lockedFd = -1;
        }
    }
    return locked;
}

int exitStatusOf(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return 1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Forks the supervisor into a session of its own (a closed terminal does not end it). Returns
// in the starting process the status to exit with: 0 once the supervisor says the session is
// locked, else the status it ended with. In the supervisor: nothing, with `lockedFd` the end to
// say "locked" on.
std::optional<int> detachSupervisor(int& lockedFd) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;  // supervised in the foreground
    const pid_t supervisor = fork();
    if (supervisor < 0) {
        close(ends[0]);
        close(ends[1]);
        return std::nullopt;
    }
    if (supervisor == 0) {
        close(ends[0]);
        setsid();
        lockedFd = ends[1];
        return std::nullopt;
    }
    close(ends[1]);
    char state = 0;
    ssize_t got = 0;
    while ((got = read(ends[0], &state, 1)) < 0 && errno == EINTR) {
    }
    close(ends[0]);
    if (got == 1) return 0;  // locked: the supervisor and its saver go on alone
    return exitStatusOf(supervisor);
}

}  // namespace

std::optional<int> superviseSessionLock(bool daemonize) {
    int lockedFd = -1;
    if (daemonize) {
        if (const std::optional<int> status = detachSupervisor(lockedFd)) return status;
    }
    // Without a pipe or a process to spare, this process is the saver; a detached one then
    // says "locked" to the starting process itself.
    const auto runUnsupervised = [&lockedFd]() -> std::optional<int> {
        if (lockedFd >= 0) setenv(kReportVariable, std::to_string(lockedFd).c_str(), 1);
        return std::nullopt;
    };
    std::deque<std::chrono::steady_clock::time_point> deaths;
    for (;;) {
        // Closed on exec: the programs the saver starts (the art generator outlives it) must
        // not hold the pipe open.
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0) return runUnsupervised();
        const pid_t saver = fork();
        if (saver < 0) {
            close(ends[0]);
            close(ends[1]);
            return runUnsupervised();
        }
        if (saver == 0) {
            close(ends[0]);
            if (lockedFd >= 0) close(lockedFd);  // only the supervisor says "locked"
            setenv(kReportVariable, std::to_string(ends[1]).c_str(), 1);
            return std::nullopt;
        }
        close(ends[1]);
        const bool locked = endedLocked(ends[0], lockedFd);
        close(ends[0]);
        const int exitStatus = exitStatusOf(saver);
        if (!locked) {
            if (lockedFd >= 0) close(lockedFd);  // the starting process reads the status
            return exitStatus;
        }

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
