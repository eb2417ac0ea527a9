#pragma once

#include "platform/running_programs.h"

namespace pln {

// Reads the command lines of this user's processes from /proc. A Windows
// program under Wine shows its Windows path there ("C:\...\eMule.exe").
class PosixRunningPrograms : public RunningPrograms {
public:
    bool userRuns(const std::string& executableName) override;
};

} // namespace pln
