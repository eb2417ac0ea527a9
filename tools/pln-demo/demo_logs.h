#pragma once

#include "demo_profile.h"
#include "demo_random.h"

namespace pln::demo {

// PLN/PLN logs/: the default logs, a queued-clients log, a combined log and
// the logs of a few dozen known files, holding about 120 days of history up
// to now, written as the recorder would have written them. Reads the
// known.met and INI files written before it.
void writeDemoLogs(const DemoProfile& profile, DemoRandom& random);

} // namespace pln::demo
