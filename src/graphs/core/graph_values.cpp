#include "graphs/core/graph_values.h"

#include "common/missing_value.h"
#include "logstore/core/increase_sums.h"

#include <optional>
#include <type_traits>

namespace pln {

namespace {

// The per-pair increases of the value field of type T over the records from
// p on, one loop per type: many records pass through it in every drawing.
template <typename T>
double increaseOver(const std::uint8_t* p, std::size_t recordSize, std::size_t pairs) {
    p += recordValueOffset;
    double increase = 0;
    T a = loadField<T>(p);
    for (std::size_t i = 0; i < pairs; ++i) {
        p += recordSize;
        T b = loadField<T>(p);
        if constexpr (std::is_floating_point_v<T>)
            increase += counterStep(a, b);
        else
            increase += static_cast<double>(counterStep(std::int64_t{a}, std::int64_t{b}));
        a = b;
    }
    return increase;
}

} // namespace

double counterIncrease(const tLogRecords& records, std::size_t j, std::size_t e) {
    if (e <= j)
        return 0;
    const std::uint8_t* p = records.bytes().data() + j * records.recordSize();
    const std::size_t size = records.recordSize(), pairs = e - j;
    return withValueType(
        records.valueType(),
        [&records, j, e, p, size, pairs]<typename T>(std::type_identity<T>) {
            std::optional<std::uint64_t> exact = records.exactIncrease(0, j, e);
            return exact ? static_cast<double>(*exact) : increaseOver<T>(p, size, pairs);
        },
        [] { return 0.0; });
}

tKnownFileIncrease knownFileIncrease(const tLogRecords& records, std::size_t j, std::size_t e) {
    auto increase = [](std::int64_t from, std::int64_t to) {
        return static_cast<double>(counterStep(from, to));
    };
    tKnownFileIncrease sum;
    if (e <= j)
        return sum;
    std::optional<std::uint64_t> requests = records.exactIncrease(0, j, e),
                                 accepted = records.exactIncrease(1, j, e),
                                 transferred = records.exactIncrease(2, j, e);
    if (requests && accepted && transferred)
        return {static_cast<double>(*requests), static_cast<double>(*accepted),
                static_cast<double>(*transferred)};
    const std::size_t size = records.recordSize();
    const std::uint8_t* p = records.bytes().data() + j * size;
    tKnownFileValues a = knownFileValuesAt(p);
    for (std::size_t i = j; i < e; ++i) {
        p += size;
        tKnownFileValues b = knownFileValuesAt(p);
        sum.requests += increase(a.requests, b.requests);
        sum.accepted += increase(a.accepted, b.accepted);
        sum.transferred += increase(static_cast<std::int64_t>(a.transferred),
                                    static_cast<std::int64_t>(b.transferred));
        a = b;
    }
    return sum;
}

double sumOf(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return static_cast<double>(a) + static_cast<double>(b);
    return static_cast<double>(sum);
}

double statValue(const tLogRecords& records, std::uint8_t flags, double multiplier, std::size_t j,
                 std::size_t e, double seconds, bool dormant) {
    bool real = records.valueType() == valueTypeReal;
    if ((flags & flagCumulative) != 0)
        return counterIncrease(records, j, e) * multiplier / seconds;
    if (dormant)
        return 0;
    double sum = real ? records.value(j) + records.value(e)
                      : sumOf(records.integerValue(j), records.integerValue(e));
    return sum * multiplier / 2;
}

double combineValues(tLogOperation operation, double first, double second) {
    auto quotient = [](double a, double b) { return b == 0 ? missingValue() : a / b; };
    switch (operation) {
    case tLogOperation::sum:
        return first + second;
    case tLogOperation::difference:
        return first - second;
    case tLogOperation::reverseDifference:
        return second - first;
    case tLogOperation::quotient:
        return quotient(first, second);
    case tLogOperation::reverseQuotient:
        return quotient(second, first);
    case tLogOperation::firstShare:
        return quotient(first, first + second);
    case tLogOperation::secondShare:
        return quotient(second, first + second);
    }
    return first;
}

} // namespace pln
