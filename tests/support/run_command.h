#pragma once

#include <ostream>
#include <string>

namespace pln::test {

struct CommandRun {
    int status = -1;    // the exit status, -1 when the command did not exit normally
    std::string output; // standard output and standard error together
    bool operator==(const CommandRun&) const = default;
};

inline void PrintTo(const CommandRun& run, std::ostream* out) {
    *out << "status " << run.status << ", output \"" << run.output << '"';
}

// Runs a shell command line and collects what it prints.
CommandRun runCommand(const std::string& commandLine);

#ifdef PLN_TOOL_PATH
// Runs the pln-tool of this build; the test targets that use it define its path.
inline CommandRun runPlnTool(const std::string& arguments) {
    return runCommand(std::string(PLN_TOOL_PATH) + " " + arguments);
}
#endif

} // namespace pln::test
