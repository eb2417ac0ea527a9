#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

namespace pln {

// A missing value in doubles (no maximum, an invalid multiplier, a division
// by zero in a combined value) is the NaN with this exact bit pattern, which
// is also what the log files store.
inline constexpr std::uint64_t missingValueBits = 0xFFF8000000000000ULL;

inline double missingValue() {
    return std::bit_cast<double>(missingValueBits);
}

inline bool isMissing(double v) {
    return std::isnan(v);
}

} // namespace pln
