#include "support/run_command.h"

#include <cstdio>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace pln::test {

// cmd.exe runs the line on Windows; its exit code comes back as it is.
CommandRun runCommand(const std::string& commandLine) {
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

} // namespace pln::test
