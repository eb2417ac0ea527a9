#pragma once

#include "logstore/core/log_records.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <vector>

namespace pln {

// The increase of a counter from one record to the next: a counter that
// dropped (eMule reset it) counts from 0, and one that dropped below 0 gives
// none. Exact for integers, where the signed difference could overflow.
constexpr std::uint64_t counterStep(std::int64_t a, std::int64_t b) {
    if (a > b)
        a = 0;
    if (b < a)
        return 0;
    return static_cast<std::uint64_t>(b) - static_cast<std::uint64_t>(a);
}
constexpr double counterStep(double a, double b) {
    if (a > b)
        a = 0;
    return b < a ? 0 : b - a;
}

// The sum, as Sum, of the steps of the field of type T at p over the given
// pairs of records from p on: the loop every counter increase goes through,
// one per type, as many records pass through it in every drawing.
template <typename Sum, typename T>
Sum sumOfSteps(const std::uint8_t* p, std::size_t recordSize, std::size_t pairs) {
    using Wide = std::conditional_t<std::is_floating_point_v<T>, double, std::int64_t>;
    Sum sum = 0;
    Wide a = loadField<T>(p);
    for (std::size_t i = 0; i < pairs; ++i) {
        p += recordSize;
        const Wide b = loadField<T>(p);
        sum += static_cast<Sum>(counterStep(a, b));
        a = b;
    }
    return sum;
}

// The counters of a log's records: a stats log's value, or a known file's
// requests, accepted requests and bytes transferred, in this order.
inline constexpr std::size_t maxCounters = 3;

// Running totals of the increases of a log's counters, kept at every
// stride-th record, so that the increase between two far records takes a
// few steps at either end instead of one per record between them. A log is
// drawn over and over, and most of a drawing would otherwise go to these
// steps. A counter's totals are kept only while they are integers a double
// holds exactly: then any increase summed step by step in doubles is that
// same integer, and an answer from the totals changes no drawn value.
class tIncreaseSums {
public:
    static constexpr std::size_t stride = 16;

    explicit tIncreaseSums(const tLogRecords& records);

    // The increase of a counter from record j to record e (j <= e) of
    // records, a view whose first record is record first of the log the
    // totals were made from; none when the totals were not kept.
    std::optional<std::uint64_t> between(const tLogRecords& records, std::size_t first,
                                         std::size_t counter, std::size_t j, std::size_t e) const;

    std::size_t bytes() const;

private:
    std::array<std::vector<std::uint64_t>, maxCounters> totals_;
};

} // namespace pln
