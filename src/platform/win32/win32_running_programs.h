#pragma once

#include "platform/running_programs.h"

namespace pln {

// On Windows eMule's named mutex tells whether it runs.
class Win32RunningPrograms : public RunningPrograms {
public:
    bool userRuns(const std::string&) override { return false; }
};

} // namespace pln
