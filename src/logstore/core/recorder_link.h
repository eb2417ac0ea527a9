#pragma once

namespace pln {

// The work the viewer performs while the recorder is suspended; the code
// travels with the suspend request and comes back with the recorder's answer.
inline constexpr int compressTask = 0;
inline constexpr int connRunTimeFixTask = 1;
inline constexpr int repairTask = 2;

// What the log store asks of the recorder. The recorder does not write any
// log between its answer to suspend and the following resume, so a record
// area is rewritten only then.
class tRecorderLink {
public:
    virtual ~tRecorderLink() = default;
    // New log files exist: the recorder starts sampling them.
    virtual void broadcastNewLogs() = 0;
    // Ask the recorder to pause; its answer carries the same task code.
    virtual void suspend(int taskCode) = 0;
};

// For programs that work on a logs folder while no recorder listens (the
// command-line tool, the demo generator): nothing is announced or requested.
class tDetachedRecorderLink : public tRecorderLink {
public:
    void broadcastNewLogs() override {}
    void suspend(int) override {}
};

} // namespace pln
