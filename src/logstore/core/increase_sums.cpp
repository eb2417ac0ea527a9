#include "logstore/core/increase_sums.h"

#include "logstore/core/log_records.h"

#include <cmath>
#include <type_traits>

namespace pln {

namespace {

// Integers up to this one, and every sum of them that stays below it, are
// exact in a double.
constexpr std::uint64_t exactLimit = std::uint64_t{1} << 53;

// Calls f with the type and offset of a counter's field in records of the
// value type; false when those records hold no such counter.
template <typename F> bool withCounter(std::uint8_t valueType, std::size_t counter, F&& f) {
    if (valueType == valueTypeKnownFile) {
        switch (counter) {
        case 0:
            f(std::type_identity<std::uint32_t>{}, knownFileRequestsOffset);
            return true;
        case 1:
            f(std::type_identity<std::uint32_t>{}, knownFileAcceptedOffset);
            return true;
        case 2:
            // Read as signed, as every 64-bit counter is.
            f(std::type_identity<std::int64_t>{}, knownFileTransferredOffset);
            return true;
        default:
            return false;
        }
    }
    return counter == 0 && withValueType(
                               valueType,
                               [&f]<typename T>(std::type_identity<T> type) {
                                   f(type, recordValueOffset);
                                   return true;
                               },
                               [] { return false; });
}

// The step between two values when it is an integer a double holds exactly.
template <typename T> std::optional<std::uint64_t> exactStep(T a, T b) {
    if constexpr (std::is_floating_point_v<T>) {
        const double step = counterStep(a, b);
        if (!(step <= static_cast<double>(exactLimit) && step == std::floor(step)))
            return std::nullopt;
        return static_cast<std::uint64_t>(step);
    } else {
        return counterStep(std::int64_t{a}, std::int64_t{b});
    }
}

// The totals of the field at offset at every stride-th record; none once
// one is beyond what a double holds exactly.
template <typename T>
std::vector<std::uint64_t> totalsOf(const tLogRecords& records, std::size_t offset) {
    const std::size_t size = records.recordSize(), n = records.count();
    const std::uint8_t* p = records.bytes().data() + offset;
    std::vector<std::uint64_t> totals;
    totals.reserve(n / tIncreaseSums::stride + 1);
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0) {
            std::optional<std::uint64_t> step =
                exactStep(loadField<T>(p + (i - 1) * size), loadField<T>(p + i * size));
            if (!step || *step > exactLimit - total)
                return {};
            total += *step;
        }
        if (i % tIncreaseSums::stride == 0)
            totals.push_back(total);
    }
    return totals;
}

} // namespace

tIncreaseSums::tIncreaseSums(const tLogRecords& records) {
    for (std::size_t c = 0; c < maxCounters; ++c)
        withCounter(records.valueType(), c,
                    [&]<typename T>(std::type_identity<T>, std::size_t offset) {
                        totals_[c] = totalsOf<T>(records, offset);
                    });
}

std::optional<std::uint64_t> tIncreaseSums::between(const tLogRecords& records, std::size_t first,
                                                    std::size_t counter, std::size_t j,
                                                    std::size_t e) const {
    if (counter >= maxCounters || totals_[counter].empty())
        return std::nullopt;
    const std::vector<std::uint64_t>& totals = totals_[counter];
    std::uint64_t sum = 0;
    withCounter(records.valueType(), counter,
                [&]<typename T>(std::type_identity<T>, std::size_t offset) {
                    const std::size_t size = records.recordSize();
                    auto steps = [&](std::size_t from, std::size_t to) {
                        return sumOfSteps<std::uint64_t, T>(
                            records.bytes().data() + from * size + offset, size, to - from);
                    };
                    // The first and last kept totals within the records j..e.
                    const std::size_t up = (first + j + stride - 1) / stride;
                    const std::size_t down = (first + e) / stride;
                    if (up >= down)
                        sum = steps(j, e);
                    else
                        sum = steps(j, up * stride - first) + (totals[down] - totals[up]) +
                              steps(down * stride - first, e);
                });
    return sum;
}

std::size_t tIncreaseSums::bytes() const {
    std::size_t bytes = 0;
    for (const std::vector<std::uint64_t>& totals : totals_)
        bytes += totals.size() * sizeof(std::uint64_t);
    return bytes;
}

} // namespace pln
