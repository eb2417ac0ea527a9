#pragma once

#include <cstdint>

namespace pln {

// A file changed this recently may be a write still in progress.
inline constexpr std::int64_t settleMs = 2000;

// Whether a file last changed at stampMs (milliseconds of the Unix epoch)
// has been left alone long enough to be read at nowMs. A stamp ahead of the
// clock by more than the same margin counts as settled too: a clock set back
// or a file written by a machine whose clock runs ahead must not keep the
// file from being read for good.
constexpr bool hasSettled(std::int64_t nowMs, std::int64_t stampMs) {
    const std::int64_t distance = nowMs - stampMs;
    return distance > settleMs || distance < -settleMs;
}

} // namespace pln
