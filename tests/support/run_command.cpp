#include "support/run_command.h"

#include <cstdio>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace pln::test {

#ifdef _WIN32
// cmd.exe runs the line; the exit code comes back as it is.
CommandRun runCommand(const std::string& commandLine) {
    CommandRun run;
    FILE* pipe = ::_popen((commandLine + " 2>&1").c_str(), "rb");
    if (!pipe)
        return run;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        run.output.append(buffer, n);
    run.status = ::_pclose(pipe);
    return run;
}
#else
CommandRun runCommand(const std::string& commandLine) {
    CommandRun run;
    FILE* pipe = ::popen((commandLine + " 2>&1").c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        run.output.append(buffer, n);
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
#endif

} // namespace pln::test
