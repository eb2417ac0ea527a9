#pragma once

#include "platform/portable/ini_file_profile.h"

namespace pln {

// The profile files of a POSIX system follow the same rules as everywhere.
using PosixIniProfile = IniFileProfile;

} // namespace pln
