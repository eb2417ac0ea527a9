#include "graph_fixture.h"
#include "graphs/core/readout.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pln::test {
namespace {

class ReadoutTest : public GraphTest {
protected:
    tEvent event(std::int64_t seconds, const std::string& text, const std::string& hash = "") {
        return {graphBase + seconds * 1000, tEvent::makePart(text, hash)};
    }
    std::string eventsPath() { return dir.file("events.log"); }
};

TEST_F(ReadoutTest, CursorTimeOnBothAxes) {
    connRunTime({{0, 1000}, {6600, 2000}, {13200, 3000}});
    scan();
    logs.connRunTimeLog()->loadValues();
    const tRuntimeMap map = runtimeMapOf(logs);

    // The runtime axis finds the first record that reaches the runtime.
    tCursorTime time = cursorToTime(1500.0 / 86400, true, map);
    EXPECT_EQ(time.runtime, 1500);
    EXPECT_EQ(time.date, graphBase + 6600 * 1000);
    // The date axis interpolates the runtime between the records around it.
    time = cursorToTime(dayAt(3300), false, map);
    EXPECT_EQ(time.date, graphBase + 3300 * 1000);
    EXPECT_EQ(time.runtime, 1500);

    // Without ConnRunTime records the other quantity is missing.
    const tRuntimeMap none(tLogRecords({}, valueTypeInteger));
    time = cursorToTime(2.5, true, none);
    EXPECT_EQ(time.runtime, 216000);
    EXPECT_FALSE(time.date);
    time = cursorToTime(dayAt(60), false, none);
    EXPECT_EQ(time.runtime, -1);
    EXPECT_EQ(time.date, graphBase + 60 * 1000);
}

TEST_F(ReadoutTest, EventsNearTheCursorLeaveOutFilesNotDrawn) {
    tEventsLog events(eventsPath());
    events.add(event(100, "start"));
    events.add(event(200, "drawn", hashOf(1)));
    events.add(event(300, "hidden", hashOf(2)));
    events.add(event(301, "late"));
    const auto shown = [](const std::string& hash) { return hash == hashOf(1); };

    std::vector<std::string> texts;
    for (const tEvent* near : eventsNear(events, graphBase + 100'000, graphBase + 300'000, shown))
        texts.push_back(near->text());
    EXPECT_EQ(texts, (std::vector<std::string>{"start", "drawn"}));
    EXPECT_TRUE(eventsNear(events, graphBase + 101'000, graphBase + 199'000, shown).empty());
}

TEST_F(ReadoutTest, SourcesFollowTheirFiles) {
    connRunTime({{0, 10}, {660, 20}, {1320, 30}});
    tEventsLog written(eventsPath());
    written.add(event(0, "one"));
    written.save();
    scan();
    tReadoutSources sources(eventsPath());
    sources.refresh(logs, prompter);
    EXPECT_EQ(sources.runtimeMap().count(), 3u);
    EXPECT_EQ(sources.events().count(), 1u);
    // The catalogue's log is left as the read-out found it.
    EXPECT_EQ(logs.connRunTimeLog()->recordsSize(), -1);

    connRunTime({{0, 10}, {660, 20}, {1320, 30}, {1980, 40}});
    written.add(event(60, "two"));
    written.save();
    sources.refresh(logs, prompter);
    EXPECT_EQ(sources.runtimeMap().count(), 4u);
    EXPECT_EQ(sources.runtimeMap().runtimeAtInstant(instantAt(1980)), 40);
    EXPECT_EQ(sources.events().count(), 2u);

    std::filesystem::remove(eventsPath());
    sources.refresh(logs, prompter);
    EXPECT_EQ(sources.events().count(), 0u);
    EXPECT_TRUE(prompter.shown.empty());
}

} // namespace
} // namespace pln::test
