#pragma once
// An Xvfb of a test file's own, started once per test suite; tests skip where there is none.

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bw::test {

class PrivateXServer {
  public:
    // Starts Xvfb with one screen of `screen` ("640x480x24"); name() stays empty on failure.
    // One server starts at a time (the end-to-end tests take the same lock): two starting
    // together can settle on the same display number.
    void start(const char* screen) {
        const int lock =
            open("/tmp/brinewave3-xvfb-start.lock", O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
        if (lock >= 0) flock(lock, LOCK_EX);
        startUnlocked(screen);
        if (lock >= 0) close(lock);
    }
    void stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        pid_ = 0;
        name_.clear();
    }
    const std::string& name() const { return name_; }

  private:
    void startUnlocked(const char* screen) {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            // -noreset: the server does not start afresh whenever its last client leaves.
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-noreset",
                   "-screen", "0", screen, nullptr);
            _exit(127);
        }
        close(fds[1]);
        // The server writes the number and the newline separately; closing early kills it.
        std::string number;
        char c = 0;
        for (ssize_t got; (got = read(fds[0], &c, 1)) != 0 && c != '\n';) {
            if (got > 0)
                number += c;
            else if (errno != EINTR)
                break;
        }
        close(fds[0]);
        if (!number.empty()) name_ = ":" + number;
    }

    pid_t pid_ = 0;
    std::string name_;
};

}  // namespace bw::test
