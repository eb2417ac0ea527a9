#pragma once

#include "demo_profile.h"
#include "demo_random.h"

#include <vector>

namespace pln::demo {

// Writes config/known.met with a few hundred records and returns the files
// that belong in the Incoming folder.
std::vector<DemoSharedFile> writeDemoKnownMet(const DemoProfile& profile, DemoRandom& random);

} // namespace pln::demo
