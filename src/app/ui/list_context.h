#pragma once

#include "app/ui/idle_work.h"
#include "common/prompter.h"
#include "graphs/core/graph_data.h"
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
    tIdleWork& idle;
    // The colours the graphs drew the files and logs in.
    const tDrawnColours& colours;
};

} // namespace pln
