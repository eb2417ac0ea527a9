#pragma once

#include <cstdio>
#include <ostream>
#include <string>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace pln::test {

struct CommandRun {
    int status = -1;    // the exit status, -1 when the command did not exit normally
    std::string output; // standard output and standard error together
    bool operator==(const CommandRun&) const = default;
};

inline void PrintTo(const CommandRun& run, std::ostream* out) {
    *out << "status " << run.status << ", output \"" << run.output << '"';
}

// Runs a shell command line and collects what it prints; cmd.exe runs it on
// Windows, and its exit code comes back as it is.
inline CommandRun runCommand(const std::string& commandLine) {
    CommandRun run;
#ifdef _WIN32
    FILE* pipe = ::_popen((commandLine + " 2>&1").c_str(), "rb");
#else
    FILE* pipe = ::popen((commandLine + " 2>&1").c_str(), "r");
#endif
    if (!pipe)
        return run;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        run.output.append(buffer, n);
#ifdef _WIN32
    run.status = ::_pclose(pipe);
#else
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    return run;
}

#ifdef PLN_TOOL_PATH
// Runs the pln-tool of this build; the test targets that use it define its path.
inline CommandRun runPlnTool(const std::string& arguments) {
    return runCommand(std::string(PLN_TOOL_PATH) + " " + arguments);
}
#endif

} // namespace pln::test
