#include "graphs/core/graph_values.h"

#include "common/missing_value.h"

namespace pln {

double counterIncrease(std::int64_t a, std::int64_t b) {
    if (a > b)
        a = 0;
    if (b < a)
        return 0;
    // The unsigned difference is exact where the signed one could overflow.
    return static_cast<double>(static_cast<std::uint64_t>(b) - static_cast<std::uint64_t>(a));
}

double counterIncrease(double a, double b) {
    if (a > b)
        a = 0;
    return b < a ? 0 : b - a;
}

double counterIncrease(const tLogRecords& records, std::size_t j, std::size_t e) {
    const bool real = records.valueType() == valueTypeReal;
    double increase = 0;
    for (std::size_t i = j; i < e; ++i)
        increase += real ? counterIncrease(records.value(i), records.value(i + 1))
                         : counterIncrease(records.integerValue(i), records.integerValue(i + 1));
    return increase;
}

tKnownFileIncrease knownFileIncrease(const tLogRecords& records, std::size_t j, std::size_t e) {
    auto increase32 = [](std::uint32_t from, std::uint32_t to) {
        return static_cast<double>(from > to ? to : to - from);
    };
    tKnownFileIncrease sum;
    tKnownFileValues a = records.knownFileValues(j);
    for (std::size_t i = j; i < e; ++i) {
        tKnownFileValues b = records.knownFileValues(i + 1);
        sum.requests += increase32(a.requests, b.requests);
        sum.accepted += increase32(a.accepted, b.accepted);
        sum.transferred += counterIncrease(static_cast<std::int64_t>(a.transferred),
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
