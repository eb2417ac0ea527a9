#pragma once

#include "platform/process_launcher.h"

namespace pln {

// Starts a program detached from this process: in a session of its own, with
// /dev/null as standard input and output, no other inherited file descriptor
// and default signal handling. The program is started through an intermediate
// child that ends at once and is reaped here, so the program becomes a child
// of the system's reaper and never lingers as a zombie of the viewer, while
// every step after fork is async-signal-safe, as a threaded process needs.
class PosixProcessLauncher : public ProcessLauncher {
public:
    // The parameters are split at blanks into arguments; false when the
    // program could not be executed.
    bool runProgram(const std::string& path, const std::string& parameters) override;
};

} // namespace pln
