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
    // While a command that leads to a task has its dialog open, other work
    // on the logs waits as it waits for a running task. Holds nest.
    virtual void holdTasks() {}
    virtual void releaseTasks() {}
};

// holdTasks for the life of this object.
class tTaskHold {
public:
    explicit tTaskHold(tRecorderLink& link) : link_(link) { link_.holdTasks(); }
    ~tTaskHold() { link_.releaseTasks(); }
    tTaskHold(const tTaskHold&) = delete;
    tTaskHold& operator=(const tTaskHold&) = delete;

private:
    tRecorderLink& link_;
};

// For programs that work on a logs folder while no recorder listens (the
// command-line tool, the demo generator): nothing is announced or requested.
class tDetachedRecorderLink : public tRecorderLink {
public:
    void broadcastNewLogs() override {}
    void suspend(int) override {}
};

} // namespace pln
