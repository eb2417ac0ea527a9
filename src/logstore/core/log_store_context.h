#pragma once

#include "common/prompter.h"
#include "logstore/core/recorder_link.h"
#include "platform/clock.h"

#include <string>

namespace pln {

class tInstantsCache;

// What every log object needs from its surroundings: where the logs live,
// how to report a failure, and how to reach the recorder.
struct tLogStoreContext {
    // Ends with a path separator: a log's path is logsFolder + name + extension.
    std::string logsFolder;
    Prompter& prompter;
    tRecorderLink& recorder;
    // Whose time-zone rules turn the local stamps of loaded records into
    // instants; without it the stamps are read as UTC.
    Clock* clock = nullptr;
    // Where loaded logs keep their instants for the next load; none without.
    tInstantsCache* instants = nullptr;
};

} // namespace pln
