#include "graphs/core/graph_values.h"

#include "common/missing_value.h"
#include "logstore/core/increase_sums.h"

#include <optional>
#include <type_traits>

namespace pln {

double counterIncrease(const tLogRecords& records, std::size_t j, std::size_t e) {
    if (e <= j)
        return 0;
    const std::uint8_t* p = records.bytes().data() + j * records.recordSize();
    const std::size_t size = records.recordSize(), pairs = e - j;
    return withValueType(
        records.valueType(),
        [&records, j, e, p, size, pairs]<typename T>(std::type_identity<T>) {
            std::optional<std::uint64_t> exact = records.exactIncrease(0, j, e);
            return exact ? static_cast<double>(*exact)
                         : sumOfSteps<double, T>(p + recordValueOffset, size, pairs);
        },
        [] { return 0.0; });
}

tKnownFileIncrease knownFileIncrease(const tLogRecords& records, std::size_t j, std::size_t e) {
    if (e <= j)
        return {};
    const std::uint8_t* p = records.bytes().data() + j * records.recordSize();
    // Each counter from its running totals where they were kept, else step by step.
    auto increase = [&]<typename T>(std::type_identity<T>, std::size_t counter,
                                    std::size_t offset) {
        std::optional<std::uint64_t> exact = records.exactIncrease(counter, j, e);
        return exact ? static_cast<double>(*exact)
                     : sumOfSteps<double, T>(p + offset, records.recordSize(), e - j);
    };
    // The bytes transferred are read as signed, as every 64-bit counter is.
    return {increase(std::type_identity<std::uint32_t>{}, 0, knownFileRequestsOffset),
            increase(std::type_identity<std::uint32_t>{}, 1, knownFileAcceptedOffset),
            increase(std::type_identity<std::int64_t>{}, 2, knownFileTransferredOffset)};
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
