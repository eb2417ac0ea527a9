#pragma once

#include <functional>
#include <sys/types.h>

namespace pln::test {

// A second process that takes something (a named mutex, a file lock),
// reports one byte and keeps what it took until it is let go.
class OtherProcess {
public:
    // Called by the child while it still owns what it took.
    using Hold = std::function<void(char report)>;

    // Runs take in a forked child; take ends by calling hold.
    explicit OtherProcess(const std::function<void(const Hold& hold)>& take);
    ~OtherProcess() { end(); }
    OtherProcess(const OtherProcess&) = delete;
    OtherProcess& operator=(const OtherProcess&) = delete;

    // Waits for the child's byte; -1 when it ended without reporting.
    char report();
    // Lets the child go; true when it then ended with status 0.
    bool end();

private:
    pid_t pid_ = -1;
    int fromChild_ = -1;
    int toChild_ = -1;
};

} // namespace pln::test
