#pragma once

#include "demo_profile.h"

namespace pln::demo {

// Plays a running eMule on an existing demo profile: every interval it adds
// uploads to some known files, rewrites known.met, and moves the statistics
// counters and the queue of the online signature on, so that a running
// recorder appends records. Runs until interrupted (SIGINT or SIGTERM).
void runLiveDemo(const DemoProfile& profile, int intervalSeconds);

} // namespace pln::demo
