#pragma once

#include <functional>
#include <stdexcept>
#include <sys/socket.h>
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
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0)
            throw std::runtime_error("cannot create a socket pair");
        pid_ = ::fork();
        if (pid_ < 0)
            throw std::runtime_error("cannot start a process");
        if (pid_ == 0) {
            // The child never returns into the test runner.
            ::close(ends[0]);
            try {
                take([&](char report) {
                    char go;
                    if (::write(ends[1], &report, 1) != 1 || ::read(ends[1], &go, 1) < 0)
                        ::_exit(2);
                });
            } catch (...) {
                ::_exit(3);
            }
            ::_exit(0);
        }
        // Closing the child's end lets a read see the end of a child that died.
        ::close(ends[1]);
        channel_ = ends[0];
    }
    ~OtherProcess() { end(); }
    OtherProcess(const OtherProcess&) = delete;
    OtherProcess& operator=(const OtherProcess&) = delete;

    // Waits for the child's byte; -1 when it ended without reporting.
    char report() {
        char byte = -1;
        return ::read(channel_, &byte, 1) == 1 ? byte : -1;
    }
    // Lets the child go; true when it then ended with status 0.
    bool end() {
        if (pid_ <= 0)
            return false;
        ::close(channel_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

private:
    pid_t pid_ = -1;
    int channel_ = -1; // to the child and back
};

} // namespace pln::test
