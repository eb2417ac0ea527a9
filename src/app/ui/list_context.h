#pragma once

#include "app/core/idle_flags.h"
#include "common/prompter.h"
#include "logstore/core/log_files.h"
#include "logstore/core/recorder_link.h"

#include <functional>

namespace pln {

// What the two lists act on: the log catalogue, the user's confirmations,
// the recorder, and the idle work their changes call for.
struct tListContext {
    tLogFiles& logFiles;
    Prompter& prompter;
    tRecorderLink& recorder;
    tIdleFlags& idle;
    // Called after a flag was set, so that the idle work gets scheduled.
    std::function<void()> idleRequested;
};

} // namespace pln
