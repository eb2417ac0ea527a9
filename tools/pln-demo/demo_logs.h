#pragma once

#include "demo_profile.h"
#include "demo_random.h"

namespace pln::demo {

// PLN/PLN logs/: the default logs, a queued-clients log, a combined log and
// the logs of a few dozen known files, holding historyDays of history up to
// now as the recorder would have written them: several statistics resets,
// the daylight-saving changes of the local time zone, a clock set back
// once, and a ConnRunTime log that begins after the others. Reads the
// known.met and INI files written before it, and leaves statistics.ini with
// the counters the logs end at.
inline constexpr int demoHistoryDays = 200;
void writeDemoLogs(const DemoProfile& profile, DemoRandom& random, int historyDays);

} // namespace pln::demo
