#pragma once

#include <optional>

namespace pln {

// The scroll bar moves in tenths of the visible window: at zoom z it runs
// from 0 to (z - 1) * 10.
inline constexpr int scrollStepsPerWindow = 10;

struct tScrollBarState {
    int maximum = 0;
    int position = 0;
};

// The scroll bar once the zoom factor has become zoom (zoomBarChange). A bar
// at its end stays at its end, which also makes a first zoom from the whole
// range show its end; otherwise the bar keeps its relative place.
tScrollBarState scrollAfterZoom(tScrollBarState before, int zoom);

// A shift-click (zoom in) or ctrl-click (zoom out) on a plot area, with the
// bars as they are and the bottom axis in its own units.
struct tZoomClick {
    double axisMinimum = 0;
    double axisMaximum = 0;
    // Where the click lies across the plot area, 0 at its left edge and 1 at
    // its right edge.
    double ratio = 0;
    int zoom = 1;
    int zoomMinimum = 1;
    int zoomMaximum = 1;
    int scroll = 0;
    bool zoomIn = true;
};

struct tZoomPosition {
    int zoom = 1;
    int scroll = 0;
};

// The zoom one step in or out, and the scroll position that puts the clicked
// value in the middle of the new window as far as the range allows; nothing
// when the zoom is already at its limit.
std::optional<tZoomPosition> zoomAroundClick(const tZoomClick& click);

// Where the charts look: the zoom factor (1 = the whole range) and the
// scroll position in tenths of the visible window, kept within the limits
// the last drawing set. Each change says whether the view moved, which is
// when the charts are to be drawn again.
class tGraphView {
public:
    int zoom() const { return zoom_; }
    int zoomMaximum() const { return zoomMaximum_; }
    int scroll() const { return scroll_; }
    int scrollMaximum() const { return scrollMaximum_; }

    // A zoom beyond the new limit comes back to it, the scroll with it.
    bool setZoomMaximum(int maximum);
    bool setZoom(int zoom);
    bool setScroll(int scroll);
    // One step in or out around the clicked place (zoomAroundClick).
    bool zoomAround(double axisMinimum, double axisMaximum, double ratio, bool zoomIn);

private:
    int zoom_ = 1;
    int zoomMaximum_ = 1;
    int scroll_ = 0;
    int scrollMaximum_ = 0;
};

} // namespace pln
