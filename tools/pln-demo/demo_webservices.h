#pragma once

#include "demo_profile.h"

namespace pln::demo {

// config/webservices.dat: a few services that look a file up by its name,
// hash or size, among comments and services that do not refer to a file.
void writeDemoWebServices(const DemoProfile& profile);

} // namespace pln::demo
