#pragma once

#include "demo_profile.h"

#include <filesystem>

namespace pln::demo {

// Lays out a folder as a Wine prefix holding an installed eMule: drive C:
// through "dosdevices", eMule.exe in "C:\Program Files\eMule\", and a
// user.reg that keeps eMule's configuration in the user's LocalAppData. The
// profile returned lies there; it stores its Incoming folder in other
// letter cases than the disk has, as Windows users often do.
DemoProfile prepareWinePrefix(const std::filesystem::path& prefix);

} // namespace pln::demo
