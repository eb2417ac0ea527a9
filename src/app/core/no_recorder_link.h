#pragma once

#include "logstore/core/recorder_link.h"

namespace pln {

// The viewer's side of the recorder link until the message bus carries it:
// announcements and suspend requests reach no recorder, so a task that
// waits for the recorder's answer does not run.
class tNoRecorderLink : public tRecorderLink {
public:
    void broadcastNewLogs() override {}
    void suspend(int) override {}
};

} // namespace pln
