#pragma once

#include "logstore/core/log_records.h"
#include "logstore/core/log_types.h"

#include <cstdint>

namespace pln {

// The increases of a known file's three counters over a bucket.
struct tKnownFileIncrease {
    double requests = 0;
    double accepted = 0;
    double transferred = 0;
};

// The increase of a counter from record j to record e, summed in doubles
// over each pair of consecutive records (counterStep): a drop between two
// of them (eMule reset it) counts from 0 there, so a bucket spanning a
// reset loses nothing of the counts before it, and a rate is never
// negative. The loaded log's running totals give the same sum at once.
double counterIncrease(const tLogRecords& records, std::size_t j, std::size_t e);
tKnownFileIncrease knownFileIncrease(const tLogRecords& records, std::size_t j, std::size_t e);

// a + b, exact up to the double's precision.
double sumOf(std::int64_t a, std::int64_t b);

// The value of a stats log over a bucket: the rate of a counter per second
// times the multiplier, or the multiplied average of the two values.
// dormant: eMule ran less than half of the bucket and the log does not
// keep its value while eMule is stopped, so the value counts as 0.
double statValue(const tLogRecords& records, std::uint8_t flags, double multiplier, std::size_t j,
                 std::size_t e, double seconds, bool dormant);

// The operation of a combined log on its sources' values; NaN for a
// division by zero.
double combineValues(tLogOperation operation, double first, double second);

} // namespace pln
