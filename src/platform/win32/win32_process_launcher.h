#pragma once

#include "platform/process_launcher.h"

namespace pln {

// CreateProcess of the program with its path quoted and the parameters as
// they are, inheriting no handle and opening no console window.
class Win32ProcessLauncher : public ProcessLauncher {
public:
    bool runProgram(const std::string& path, const std::string& parameters) override;
};

} // namespace pln
