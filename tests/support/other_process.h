#pragma once

#include <functional>
#include <stdexcept>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pln::test {

// A second process that takes something (a named mutex, a file lock),
// reports one byte and keeps what it took until it is let go.
class OtherProcess {
public:
    // Called by the child while it still owns what it took.
    using Hold = std::function<void(char report)>;

    // Runs take in a forked child; take ends by calling hold.
    explicit OtherProcess(const std::function<void(const Hold& hold)>& take) {
        int up[2];
        int down[2];
        if (::pipe(up) != 0 || ::pipe(down) != 0)
            throw std::runtime_error("cannot create a pipe");
        pid_ = ::fork();
        if (pid_ < 0)
            throw std::runtime_error("cannot start a process");
        if (pid_ == 0) {
            // The child never returns into the test runner.
            ::close(up[0]);
            ::close(down[1]);
            try {
                take([&](char report) {
                    char go;
                    if (::write(up[1], &report, 1) != 1 || ::read(down[0], &go, 1) < 0)
                        ::_exit(2);
                });
            } catch (...) {
                ::_exit(3);
            }
            ::_exit(0);
        }
        // Closing the child's ends lets a read see the end of a child that died.
        ::close(up[1]);
        ::close(down[0]);
        fromChild_ = up[0];
        toChild_ = down[1];
    }
    ~OtherProcess() { end(); }
    OtherProcess(const OtherProcess&) = delete;
    OtherProcess& operator=(const OtherProcess&) = delete;

    // Waits for the child's byte; -1 when it ended without reporting.
    char report() {
        char byte = -1;
        return ::read(fromChild_, &byte, 1) == 1 ? byte : -1;
    }
    // Lets the child go; true when it then ended with status 0.
    bool end() {
        if (pid_ <= 0)
            return false;
        ::close(toChild_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        ::close(fromChild_);
        pid_ = -1;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

private:
    pid_t pid_ = -1;
    int fromChild_ = -1;
    int toChild_ = -1;
};

} // namespace pln::test
