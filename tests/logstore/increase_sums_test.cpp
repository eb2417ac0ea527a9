#include "log_fixture.h"
#include "logstore/core/increase_sums.h"
#include "logstore/core/log_records.h"

#include <gtest/gtest.h>
#include <optional>

namespace pln::test {
namespace {

// Every increase within a long log, also through a part of it that starts
// off the totals' stride: a counter rising by 3 per record that eMule reset
// to 5 at record 37.
TEST(IncreaseSums, GiveEveryIncreaseOfThePartsOfALog) {
    LogBytes bytes;
    for (int i = 0; i < 100; ++i)
        bytes.int32Record(0, i < 37 ? 3 * i : 5 + 3 * (i - 37));
    const std::vector<std::uint8_t> area = bytes.bytes();
    const tLogRecords plain(area, valueTypeInteger);
    const tIncreaseSums sums(plain);
    const tLogRecords whole(area, valueTypeInteger, {}, &sums);
    for (std::size_t first : {std::size_t{0}, std::size_t{5}}) {
        const tLogRecords part = whole.slice(first, 100);
        int wrong = 0;
        for (std::size_t j = first; j < 100; ++j)
            for (std::size_t e = j; e < 100; ++e)
                wrong += part.exactIncrease(0, j - first, e - first) !=
                         3 * (e - j) + (j < 37 && 37 <= e ? 2 : 0);
        EXPECT_EQ(wrong, 0) << "from record " << first;
    }
    EXPECT_EQ(plain.exactIncrease(0, 0, 99), std::nullopt) << "a view without totals";
}

// Totals are kept while every sum of steps is an integer a double holds
// exactly, which a step by step sum in doubles then gives as well.
TEST(IncreaseSums, KeepOnlyTotalsADoubleHoldsExactly) {
    constexpr double limit = 9007199254740992.0; // 2^53
    const struct {
        std::uint8_t valueType;
        std::vector<double> values;
        std::optional<std::uint64_t> increase;
    } rows[] = {{valueTypeLong, {0, 1, limit}, std::uint64_t{1} << 53},
                {valueTypeLong, {0, 2, limit + 2}, std::nullopt},
                {valueTypeLong, {-limit, limit}, std::nullopt},
                {valueTypeReal, {0.5, 2.5, 6.5}, 6},
                {valueTypeReal, {0, 0.5, 2}, std::nullopt}};
    for (const auto& row : rows) {
        LogBytes bytes;
        for (double value : row.values)
            bytes.record(0, row.valueType, value);
        const std::vector<std::uint8_t> area = bytes.bytes();
        const tIncreaseSums sums(tLogRecords(area, row.valueType));
        const tLogRecords records(area, row.valueType, {}, &sums);
        EXPECT_EQ(records.exactIncrease(0, 0, row.values.size() - 1), row.increase)
            << row.values.back();
    }
    // A known file's counters, the bytes transferred read as signed.
    LogBytes known;
    known.knownFileRecord(0, 7, 1, 0).knownFileRecord(0, 2, 3, UINT64_MAX);
    const std::vector<std::uint8_t> area = known.knownFileRecord(0, 4, 3, 5).bytes();
    const tIncreaseSums sums(tLogRecords(area, valueTypeKnownFile));
    const tLogRecords records(area, valueTypeKnownFile, {}, &sums);
    EXPECT_EQ(std::tuple(records.exactIncrease(0, 0, 2), records.exactIncrease(1, 0, 2),
                         records.exactIncrease(2, 0, 2), records.exactIncrease(3, 0, 2)),
              std::tuple(4u, 2u, 6u, std::nullopt));
}

} // namespace
} // namespace pln::test
