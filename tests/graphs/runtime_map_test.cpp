#include "graph_fixture.h"
#include "graphs/core/runtime_map.h"
#include "logstore/core/record_instants.h"

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
        instants = recordInstants(tLogRecords(bytes, valueTypeInteger), nullptr);
        return tRuntimeMap(tLogRecords(bytes, valueTypeInteger, instants));
    }
    std::vector<std::uint8_t> bytes;
    std::vector<std::int64_t> instants;
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
        EXPECT_EQ(map.runtimeAtInstant(instantAt(row.seconds)), row.runtime) << row.seconds;
    EXPECT_EQ(map.dateAtRuntime(15), at(200)) << "the first record reaching it";
    EXPECT_EQ(map.dateAtRuntime(99), at(400));
    EXPECT_EQ(mapOf({{0, 11}, {4, 12}, {8, 13}}).runtimeAtInstant(instantAt(2)), 12); // 11.5 to 12
}

} // namespace
} // namespace pln::test
