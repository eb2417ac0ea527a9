#include "graph_fixture.h"
#include "graphs/core/bucket_walk.h"
#include "graphs/core/graph_window.h"
#include "graphs/core/zoom_scroll.h"

namespace pln::test {
namespace {

using Seen = std::vector<std::pair<std::size_t, std::size_t>>;

// The buckets of a walk over logs whose record times are given, as i and
// the last log's j * 10 + e.
Seen walk(const std::vector<std::vector<std::int64_t>>& logs,
          const std::vector<std::int64_t>& samples) {
    std::vector<std::vector<std::uint8_t>> bytes;
    std::vector<tRecordTimes> times;
    for (const auto& log : logs) {
        bytes.emplace_back(log.size() * 8);
        times.emplace_back(tLogRecords(bytes.back(), valueTypeInteger, log), nullptr);
    }
    std::vector<tRecordTimes*> pointers;
    for (tRecordTimes& t : times)
        pointers.push_back(&t);
    Seen seen;
    walkBuckets(pointers, samples, [&](std::size_t i, std::span<const tBucket> buckets) {
        seen.push_back({i, buckets.back().j * 10 + buckets.back().e});
    });
    return seen;
}

// Periods round halves to even (990 s are 1.5 periods, 1650 s 2.5), none
// (330 s) still make one point, and points follow the width.
TEST(GraphWindowTest, PointsZoomScrollAndBucketsOnTheRuntimeAxis) {
    const std::tuple<std::int64_t, int, int, std::int64_t, std::int64_t> rows[] = {
        {330, 400, 4, 0, 1},       {331, 400, 4, 1, 1},       {990, 400, 4, 2, 2},
        {1650, 400, 4, 2, 2},      {66000, 400, 4, 100, 99},  {66000, 404, 4, 100, 100},
        {66000, 400, 10, 100, 39}, {66000, 400, 1, 100, 100}, {66000, 7, 4, 100, 1}};
    for (auto [span, width, pointsPerPixel, periods, points] : rows) {
        tPointCount count = computePointCount(span, width, pointsPerPixel);
        EXPECT_EQ(std::pair(count.periods, count.points), std::pair(periods, points))
            << span << " " << width;
    }

    tTimeRange whole{true, 1000, 1000 + 66000};
    tGraphWindow all = computeGraphWindow(whole, 1, 0, 44, 4);
    EXPECT_EQ(all.zoomBarMaximum, 10); // 100 periods, 10 points
    EXPECT_EQ(all.samples.front(), 1000);
    EXPECT_EQ(all.samples[1], 1000 + 6600);
    // Zoom 3 shows 22000 s; scroll 5 moves it by round(11000) s.
    tGraphWindow zoomed = computeGraphWindow(whole, 3, 5, 44, 4);
    EXPECT_EQ(std::tuple(zoomed.visible.first, zoomed.visible.last), std::tuple(12000, 34000));
    EXPECT_EQ(zoomed.samples.size(), 10u);
    EXPECT_EQ(zoomed.samples.back(), 12000 + 9 * 2200);
    EXPECT_DOUBLE_EQ(zoomed.xs.front(), 12000 / 86400.0);
    // Beyond the zoom bar: bounded by it, and the scroll by the zoom.
    EXPECT_EQ(computeGraphWindow(whole, 99, 999, 44, 4).visible.first, 1000 + 66000 - 6600);
    // n = 0: the zoom bar cannot zoom, one sample.
    tGraphWindow tiny = computeGraphWindow({true, 0, 330}, 5, 7, 400, 4);
    EXPECT_EQ(tiny.zoomBarMaximum, 1);
    EXPECT_THAT(tiny.samples, ElementsAre(0));

    // Samples sparser than records: from the record after the previous
    // sample to the one after this sample.
    EXPECT_EQ(walk({{0, 10, 20, 30, 40, 50, 60, 70}}, {15, 55}), (Seen{{0, 12}, {1, 26}}));
    // Denser: the record interval that holds the sample.
    EXPECT_EQ(walk({{0, 10, 20, 30}}, {2, 4, 12}), (Seen{{0, 1}, {1, 1}, {2, 12}}));
    // Equal times (eMule not running) merge into the next bucket; samples
    // outside the records make no point.
    EXPECT_EQ(walk({{0, 10, 10, 20}}, {-5, 10, 25}), (Seen{{1, 3}}));
    // A sample at the last record's time has no record after it.
    EXPECT_EQ(walk({{0, 10, 20, 30}}, {5, 30}), (Seen{{0, 1}}));
    // Two logs: both must cover the sample (25 < 27); the second log's
    // bucket is shown.
    EXPECT_EQ(walk({{0, 10, 20, 30}, {0, 5, 15, 25}}, {2, 12, 27}), (Seen{{0, 1}, {1, 12}}));

    // The scroll bar follows the zoom, and a click zooms one step around the
    // clicked value.
    const std::tuple<tScrollBarState, int, tScrollBarState> bars[] = {
        {{0, 0}, 3, {20, 20}},   // from the whole range: the end of it
        {{20, 20}, 5, {40, 40}}, // a bar at its end stays there
        {{20, 10}, 5, {40, 20}}, // otherwise it keeps its relative place
        {{40, 5}, 3, {20, 2}},   // 2.5 rounds to even
        {{40, 15}, 3, {20, 8}},  // 7.5 rounds to even
        {{20, 5}, 1, {0, 0}},    // back to the whole range
    };
    for (auto [before, zoom, expected] : bars) {
        const tScrollBarState after = scrollAfterZoom(before, zoom);
        EXPECT_EQ(std::pair(after.maximum, after.position),
                  std::pair(expected.maximum, expected.position))
            << before.position << " " << zoom;
    }

    using Position = std::optional<std::pair<int, int>>; // zoom and scroll; none: no zoom
    const std::pair<tZoomClick, Position> clicks[] = {
        // Shift-click at the right end of the whole range: its end stays in view.
        {{0, 100, 1.0, 1, 1, 4, 0, true}, std::pair(2, 10)},
        // Window 25..75 of 0..100 at zoom 2: the middle stays in the middle.
        {{25, 75, 0.5, 2, 1, 4, 5, true}, std::pair(3, 10)},
        // Ctrl-click at the start: the window cannot begin before the range.
        {{0, 50, 0.0, 2, 1, 4, 0, false}, std::pair(1, 0)},
        // Nothing beyond the zoom bar's limits.
        {{0, 100, 0.5, 4, 1, 4, 0, true}, std::nullopt},
        {{0, 100, 0.5, 1, 1, 4, 0, false}, std::nullopt},
        // An empty axis zooms without a scroll position out of nothing.
        {{0, 0, 0.5, 2, 1, 4, 0, false}, std::pair(1, 0)},
    };
    for (const auto& [click, expected] : clicks) {
        const std::optional<tZoomPosition> got = zoomAroundClick(click);
        EXPECT_EQ(got ? Position(std::pair(got->zoom, got->scroll)) : std::nullopt, expected)
            << click.axisMinimum << ".." << click.axisMaximum << " zoom " << click.zoom;
    }

    // The view stays within the limits of the last drawing.
    tGraphView view;
    EXPECT_FALSE(view.setZoom(3)); // nothing to zoom into before a drawing
    EXPECT_FALSE(view.setZoomMaximum(4));
    EXPECT_TRUE(view.setZoom(9));
    EXPECT_EQ(std::pair(view.zoom(), view.scroll()), std::pair(4, 30)) << "the end of the range";
    EXPECT_TRUE(view.setScroll(-5));
    EXPECT_EQ(view.scroll(), 0);
    EXPECT_FALSE(view.setScroll(0));
    EXPECT_TRUE(view.setScroll(10));
    // A shorter range pulls the zoom back, and the scroll keeps its place.
    EXPECT_TRUE(view.setZoomMaximum(2));
    EXPECT_EQ(std::tuple(view.zoom(), view.scrollMaximum(), view.scroll()), std::tuple(2, 10, 3));
    EXPECT_FALSE(view.zoomAround(0, 50, 0.5, true));
    EXPECT_TRUE(view.zoomAround(25, 75, 0.0, false));
    EXPECT_EQ(std::pair(view.zoom(), view.scroll()), std::pair(1, 0));
}

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

TEST_F(RuntimeMapTest, RuntimeAtDateCursorAndFirstRecordPastARuntime) {
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

    // Without ConnRunTime records the runtime axis has no dates, and the
    // date axis no runtimes.
    const tRuntimeMap none(tLogRecords({}, valueTypeInteger));
    tCursorTime time = cursorToTime(2.5, true, none);
    EXPECT_EQ(time.runtime, 216000);
    EXPECT_FALSE(time.date);
    time = cursorToTime(dayAt(60), false, none);
    EXPECT_EQ(time.runtime, -1);
    EXPECT_EQ(time.date, graphBase + 60 * 1000);

    // A record past a runtime is found as a look at every record in turn finds
    // it, whether the mapping's runtimes go back (a log not corrected) or not,
    // also where eMule stopped or the mapping has two records of one moment.
    using Entries = std::vector<std::pair<std::int64_t, std::int32_t>>;
    for (const Entries& entries :
         {Entries{{0, 0}, {100, 50}, {200, 90}, {300, 90}, {400, 160}},
          Entries{{0, 0}, {100, 50}, {200, 30}, {300, 90}, {400, 160}},
          Entries{{0, 0}, {98, 50}, {98, 60}, {200, 60}, {300, 90}, {400, 160}}}) {
        tRuntimeMap mapping = mapOf(entries);
        std::vector<std::int64_t> logInstants;
        for (std::int64_t s = -20; s <= 420; s += 7)
            logInstants.push_back(instantAt(s));
        std::vector<std::uint8_t> records(logInstants.size() * 8);
        tRecordTimes times(tLogRecords(records, valueTypeInteger, logInstants), &mapping);
        auto runtime = [&](std::size_t i) {
            return mapping.runtimeAtInstant(times.records().instant(i));
        };
        for (std::size_t from = 0; from <= times.size(); from += 3)
            for (std::int64_t after = -1; after <= 170; after += 2) {
                std::size_t expected = from;
                while (expected < times.size() && runtime(expected) <= after)
                    ++expected;
                std::int64_t found = 0;
                ASSERT_EQ(times.firstAfter(from, after, found), expected)
                    << entries[2].second << " " << after;
                if (expected < times.size()) {
                    EXPECT_EQ(found, runtime(expected));
                }
                if (expected > from) {
                    EXPECT_EQ(times.at(expected - 1), runtime(expected - 1));
                }
            }
    }
}

TEST_F(GraphTest, ReadoutSourcesFollowTheirFiles) {
    const std::string eventsPath = dir.file("events.log");
    connRunTime({10, 20, 30});
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

    connRunTime({10, 20, 30, 40});
    written.add({graphBase + 60'000, "two"});
    written.save();
    sources.refresh(logs, prompter);
    EXPECT_EQ(sources.runtimeMap().count(), 4u);
    EXPECT_EQ(sources.runtimeMap().runtimeAtInstant(instantAt(1980)), 40);
    EXPECT_EQ(sources.events().count(), 2u);

    fs::remove(eventsPath);
    sources.refresh(logs, prompter);
    EXPECT_EQ(sources.events().count(), 0u);
}

} // namespace
} // namespace pln::test
