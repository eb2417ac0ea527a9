#include "graph_fixture.h"
#include "graphs/core/record_times.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pln::test {
namespace {

class RuntimeMapTest : public ::testing::Test {
protected:
    tRuntimeMap mapOf(const std::vector<std::pair<std::int64_t, std::int32_t>>& records) {
        ByteWriter out;
        for (auto [seconds, value] : records) {
            out.u32(at(seconds));
            out.i32(value);
        }
        bytes = out.take();
        return tRuntimeMap(tLogRecords(bytes, valueTypeInteger));
    }
    std::vector<std::uint8_t> bytes;
};

TEST_F(RuntimeMapTest, RuntimeAtDateInterpolatesWithHalvesToEven) {
    tRuntimeMap map = mapOf({{100, 10}, {104, 11}, {200, 13}, {200, 20}, {300, 40}, {400, 50}});
    struct Row {
        std::int64_t seconds;
        std::int64_t runtime;
    };
    for (Row row :
         std::initializer_list<Row>{{0, 10},    // before the first record: the first value
                                    {100, 10},  // a record's own time
                                    {102, 10},  // 10.5 rounds to 10
                                    {152, 12},  // 11 + 2 * 48 / 96 = 12
                                    {200, 13},  // the first of two records of that time
                                    {250, 30},  // 20 + 20 * 50 / 100
                                    {350, 50},  // between the last two records: the last value
                                    {500, 50}}) // after the last record
        EXPECT_EQ(map.runtimeAtDate(at(row.seconds)), row.runtime) << row.seconds;
    EXPECT_EQ(mapOf({{0, 11}, {4, 12}, {8, 13}}).runtimeAtDate(at(2)), 12); // 11.5 to 12
}

TEST_F(RuntimeMapTest, DateAtRuntimeFindsTheFirstRecordReachingIt) {
    tRuntimeMap map = mapOf({{100, 10}, {200, 20}, {300, 20}, {400, 30}});
    EXPECT_EQ(map.dateAtRuntime(0), at(100));
    EXPECT_EQ(map.dateAtRuntime(15), at(200));
    EXPECT_EQ(map.dateAtRuntime(20), at(200));
    EXPECT_EQ(map.dateAtRuntime(31), at(400));
    EXPECT_EQ(mapOf({}).dateAtRuntime(5), -1);
    EXPECT_EQ(mapOf({}).runtimeAtDate(at(5)), -1);
}

TEST_F(RuntimeMapTest, RuntimesOfRecordsAnswerAsSingleLookups) {
    std::vector<std::pair<std::int64_t, std::int32_t>> records;
    for (int k = 0; k < 300; ++k)
        records.push_back({k * 660 + (k % 7) * 2, k * 400 + k % 13});
    tRuntimeMap map = mapOf(records);
    // Steps within a record interval, single records, long jumps and jumps
    // back, as a log with gaps and a clock set back would have them.
    std::vector<std::int64_t> seconds = {-100, 0, 1, 660, 661, 5000, 5000, 4000, 90000, 197340};
    for (std::int64_t s = 0; s < 200000; s += 97)
        seconds.push_back(s);
    ByteWriter log;
    for (std::int64_t s : seconds) {
        log.u32(at(s));
        log.i32(0);
    }
    tRecordTimes times(tLogRecords(log.buffer(), valueTypeInteger), &map);
    ASSERT_EQ(times.size(), seconds.size());
    EXPECT_EQ(times.back(), map.runtimeAtDate(at(seconds.back())));
    // In order, with looks back at the last two, as the bucket walk asks.
    for (std::size_t i = 0; i < seconds.size(); ++i)
        for (std::size_t k : {i, i > 0 ? i - 1 : i, i, i > 1 ? i - 2 : i})
            ASSERT_EQ(times.at(k), map.runtimeAtDate(at(seconds[k]))) << seconds[k];
}

} // namespace
} // namespace pln::test
