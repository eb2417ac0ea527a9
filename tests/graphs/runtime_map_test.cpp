#include "graph_fixture.h"
#include "graphs/core/readout.h"
#include "graphs/core/record_times.h"
#include "graphs/core/runtime_map.h"
#include "logstore/core/record_instants.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pln::test {
namespace {

class RuntimeMapTest : public ::testing::Test {
protected:
    tRuntimeMap mapOf(const std::vector<std::pair<std::int64_t, std::int32_t>>& records) {
        LogBytes out;
        for (auto [seconds, value] : records)
            out.int32Record(at(seconds), value);
        bytes = out.bytes();
        instants = recordInstants(tLogRecords(bytes, valueTypeInteger), nullptr);
        return tRuntimeMap(tLogRecords(bytes, valueTypeInteger, instants));
    }
    std::vector<std::uint8_t> bytes;
    std::vector<std::int64_t> instants;
};

TEST_F(RuntimeMapTest, RuntimeAtDateInterpolatesWithHalvesToEven) {
    tRuntimeMap map = mapOf({{100, 10}, {104, 11}, {200, 13}, {200, 20}, {300, 40}, {400, 50}});
    using Row = std::pair<std::int64_t, std::int64_t>; // seconds and runtime
    for (auto [seconds, runtime] :
         std::initializer_list<Row>{{0, 10},    // before the first record: the first value
                                    {100, 10},  // a record's own time
                                    {102, 10},  // 10.5 rounds to 10
                                    {152, 12},  // 11 + 2 * 48 / 96 = 12
                                    {200, 13},  // the first of two records of that time
                                    {250, 30},  // 20 + 20 * 50 / 100
                                    {350, 50},  // between the last two records: the last value
                                    {500, 50}}) // after the last record
        EXPECT_EQ(map.runtimeAtInstant(instantAt(seconds)), runtime) << seconds;
    EXPECT_EQ(map.dateAtRuntime(15), at(200)) << "the first record reaching it";
    EXPECT_EQ(map.dateAtRuntime(99), at(400));
    EXPECT_EQ(mapOf({{0, 11}, {4, 12}, {8, 13}}).runtimeAtInstant(instantAt(2)), 12); // 11.5 to 12
}

// A record past a runtime is found as a look at every record in turn finds
// it, whether the mapping's runtimes go back (a log not corrected) or not,
// also where eMule stopped or the mapping has two records of one moment.
TEST_F(RuntimeMapTest, RecordTimesFindTheFirstRecordPastARuntime) {
    using Entries = std::vector<std::pair<std::int64_t, std::int32_t>>;
    for (const Entries& entries :
         {Entries{{0, 0}, {100, 50}, {200, 90}, {300, 90}, {400, 160}},
          Entries{{0, 0}, {100, 50}, {200, 30}, {300, 90}, {400, 160}},
          Entries{{0, 0}, {98, 50}, {98, 60}, {200, 60}, {300, 90}, {400, 160}}}) {
        tRuntimeMap map = mapOf(entries);
        std::vector<std::int64_t> logInstants;
        for (std::int64_t s = -20; s <= 420; s += 7)
            logInstants.push_back(instantAt(s));
        std::vector<std::uint8_t> records(logInstants.size() * 8);
        tRecordTimes times(tLogRecords(records, valueTypeInteger, logInstants), &map);
        auto runtime = [&](std::size_t i) {
            return map.runtimeAtInstant(times.records().instant(i));
        };
        for (std::size_t from = 0; from <= times.size(); from += 3)
            for (std::int64_t after = -1; after <= 170; after += 2) {
                std::size_t expected = from;
                while (expected < times.size() && runtime(expected) <= after)
                    ++expected;
                std::int64_t time = 0;
                ASSERT_EQ(times.firstAfter(from, after, time), expected)
                    << entries[2].second << " " << after;
                if (expected < times.size()) {
                    EXPECT_EQ(time, runtime(expected));
                }
                if (expected > from) {
                    EXPECT_EQ(times.at(expected - 1), runtime(expected - 1));
                }
            }
    }
}

// Without ConnRunTime records the runtime axis has no dates, and the date
// axis no runtimes.
TEST(CursorToTime, WithoutConnRunTimeTheOtherQuantityIsMissing) {
    const tRuntimeMap none(tLogRecords({}, valueTypeInteger));
    tCursorTime time = cursorToTime(2.5, true, none);
    EXPECT_EQ(time.runtime, 216000);
    EXPECT_FALSE(time.date);
    time = cursorToTime(dayAt(60), false, none);
    EXPECT_EQ(time.runtime, -1);
    EXPECT_EQ(time.date, graphBase + 60 * 1000);
}

TEST_F(GraphTest, ReadoutSourcesFollowTheirFiles) {
    const std::string eventsPath = dir.file("events.log");
    connRunTime({{0, 10}, {660, 20}, {1320, 30}});
    tEventsLog written(eventsPath);
    written.add({graphBase, "one"});
    written.save();
    scan();
    tReadoutSources sources(eventsPath);
    sources.refresh(logs, prompter);
    EXPECT_EQ(sources.runtimeMap().count(), 3u);
    EXPECT_EQ(sources.events().count(), 1u);
    // The catalogue's log is left as the read-out found it.
    EXPECT_EQ(logs.connRunTimeLog()->recordsSize(), -1);

    connRunTime({{0, 10}, {660, 20}, {1320, 30}, {1980, 40}});
    written.add({graphBase + 60'000, "two"});
    written.save();
    sources.refresh(logs, prompter);
    EXPECT_EQ(sources.runtimeMap().count(), 4u);
    EXPECT_EQ(sources.runtimeMap().runtimeAtInstant(instantAt(1980)), 40);
    EXPECT_EQ(sources.events().count(), 2u);

    std::filesystem::remove(eventsPath);
    sources.refresh(logs, prompter);
    EXPECT_EQ(sources.events().count(), 0u);
    EXPECT_TRUE(prompter.shown.empty());
}

} // namespace
} // namespace pln::test
