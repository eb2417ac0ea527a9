#pragma once

#include <string>

namespace pln {

// Whether a program of this user runs now, for the signs of a running eMule
// that its named mutex does not give: under Wine the mutex is Wine's own and
// cannot be seen from here.
class RunningPrograms {
public:
    virtual ~RunningPrograms() = default;
    // True while a process of this user runs whose command line names the
    // executable (compared without regard to case, with any folder before
    // it). Always false where the named mutex tells it already.
    virtual bool userRuns(const std::string& executableName) = 0;
};

} // namespace pln
