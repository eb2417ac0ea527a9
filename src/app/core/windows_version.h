#pragma once

#include "platform/system_info.h"

#include <cstdint>

namespace pln {

// The Windows version as one 16-bit code: major version in the low byte,
// minor version in the high byte. The location rule only tells the oldest
// systems (no user folders to look at) from Vista and later (known folders).
inline constexpr std::uint16_t windows95 = 4;
inline constexpr std::uint16_t windows98 = 0x0A04;
inline constexpr std::uint16_t windowsMe = 0x5A04;
inline constexpr std::uint16_t windows2000 = 5;
inline constexpr std::uint16_t windowsXp = 0x0105;
inline constexpr std::uint16_t windowsServer2003 = 0x0205;
inline constexpr std::uint16_t windowsVista = 6;
// Neither version answer was given.
inline constexpr std::uint16_t windowsUnknown = 0;

std::uint16_t getWindowsVersion(SystemInfo& system);

} // namespace pln
