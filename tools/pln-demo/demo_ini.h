#pragma once

#include "demo_profile.h"
#include "demo_random.h"

namespace pln::demo {

// config/preferences.ini: the [eMule] settings the viewer reads (IncomingDir,
// Port, MaxUpload, ...) among the usual others.
void writeDemoPreferences(const DemoProfile& profile, DemoRandom& random);

// config/statistics.ini: eMule's all-time [Statistics] counters.
void writeDemoStatistics(const DemoProfile& profile, DemoRandom& random);

} // namespace pln::demo
