#include "graph_fixture.h"
#include "graphs/core/readout.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pln::test {
namespace {

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
