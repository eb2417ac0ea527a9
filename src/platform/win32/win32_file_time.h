#pragma once

#include <cstdint>
#include <windows.h>

namespace pln {

// 100-nanosecond ticks from 1601-01-01 (FILETIME) to 1970-01-01.
inline constexpr std::int64_t fileTimeTicksTo1970 = 116'444'736'000'000'000LL;

inline std::int64_t fileTimeTicks(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

// Nanoseconds since 1970-01-01 UTC.
inline std::int64_t fileTimeToUnixNs(const FILETIME& time) {
    return (fileTimeTicks(time) - fileTimeTicksTo1970) * 100;
}

} // namespace pln
