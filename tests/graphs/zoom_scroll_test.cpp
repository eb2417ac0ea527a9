#include "graphs/core/zoom_scroll.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

TEST(ZoomScrollTest, ScrollBarFollowsTheZoom) {
    struct Row {
        tScrollBarState before;
        int zoom;
        tScrollBarState after;
    };
    for (Row row : std::initializer_list<Row>{
             {{0, 0}, 3, {20, 20}},   // from the whole range: the end of it
             {{20, 20}, 5, {40, 40}}, // a bar at its end stays there
             {{20, 10}, 5, {40, 20}}, // otherwise it keeps its relative place
             {{40, 5}, 3, {20, 2}},   // 2.5 rounds to even
             {{40, 15}, 3, {20, 8}},  // 7.5 rounds to even
             {{20, 5}, 1, {0, 0}},    // back to the whole range
         }) {
        const tScrollBarState after = scrollAfterZoom(row.before, row.zoom);
        EXPECT_EQ(std::pair(after.maximum, after.position),
                  std::pair(row.after.maximum, row.after.position))
            << row.before.position << " " << row.zoom;
    }
}

TEST(ZoomScrollTest, ClickZoomsOneStepAroundTheClickedValue) {
    using Position = std::optional<std::pair<int, int>>; // zoom and scroll; none: no zoom
    const std::pair<tZoomClick, Position> rows[] = {
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
    for (const auto& [click, expected] : rows) {
        const std::optional<tZoomPosition> zoomed = zoomAroundClick(click);
        EXPECT_EQ(zoomed ? Position(std::pair(zoomed->zoom, zoomed->scroll)) : std::nullopt,
                  expected)
            << click.axisMinimum << ".." << click.axisMaximum << " zoom " << click.zoom;
    }
}

TEST(ZoomScrollTest, ViewStaysWithinTheLimitsOfTheLastDrawing) {
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

} // namespace
} // namespace pln
