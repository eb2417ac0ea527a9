#pragma once

#include "demo_profile.h"

#include <vector>

namespace pln::demo {

// Writes each file into the Incoming folder with its size and, as its
// modification time, its known.met date.
void writeDemoIncoming(const DemoProfile& profile, const std::vector<DemoSharedFile>& files);

} // namespace pln::demo
