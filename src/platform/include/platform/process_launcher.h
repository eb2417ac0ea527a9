#pragma once

#include <string>

namespace pln {

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Starts a program with the given parameters, inheriting nothing; false
    // when it could not be started. The new process is not waited for.
    virtual bool runProgram(const std::string& path, const std::string& parameters) = 0;
};

} // namespace pln
