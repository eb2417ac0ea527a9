#include "graphs/core/zoom_scroll.h"

#include <algorithm>
#include <cmath>

namespace pln {

namespace {

// Halves go to the even neighbour, as everywhere a drawing rounds.
int roundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

int scrollMaximum(int zoom) {
    return std::max(zoom - 1, 0) * scrollStepsPerWindow;
}

} // namespace

tScrollBarState scrollAfterZoom(tScrollBarState before, int zoom) {
    const bool atEnd = before.position >= before.maximum;
    const double place = atEnd ? 1.0 : static_cast<double>(before.position) / before.maximum;
    tScrollBarState after;
    after.maximum = scrollMaximum(zoom);
    after.position = atEnd ? after.maximum : roundHalfEven(after.maximum * place);
    return after;
}

std::optional<tZoomPosition> zoomAroundClick(const tZoomClick& click) {
    if (click.zoomIn ? click.zoom >= click.zoomMaximum : click.zoom <= click.zoomMinimum)
        return std::nullopt;
    tZoomPosition result;
    result.zoom =
        std::clamp(click.zoom + (click.zoomIn ? 1 : -1), click.zoomMinimum, click.zoomMaximum);
    const double window = click.axisMaximum - click.axisMinimum;
    const double newWindow = window * click.zoom / result.zoom;
    if (!(newWindow > 0))
        return result;
    const double rangeStart =
        click.axisMinimum - window * click.scroll / static_cast<double>(scrollStepsPerWindow);
    const double clicked = click.axisMinimum + window * click.ratio;
    const double scroll = (clicked - newWindow / 2 - rangeStart) / newWindow * scrollStepsPerWindow;
    result.scroll =
        std::clamp(roundHalfEven(std::clamp(scroll, -1e9, 1e9)), 0, scrollMaximum(result.zoom));
    return result;
}

bool tGraphView::setZoomMaximum(int maximum) {
    zoomMaximum_ = std::max(maximum, 1);
    return zoom_ > zoomMaximum_ && setZoom(zoomMaximum_);
}

bool tGraphView::setZoom(int zoom) {
    zoom = std::clamp(zoom, 1, zoomMaximum_);
    if (zoom == zoom_)
        return false;
    const tScrollBarState after = scrollAfterZoom({scrollMaximum_, scroll_}, zoom);
    zoom_ = zoom;
    scrollMaximum_ = after.maximum;
    scroll_ = after.position;
    return true;
}

bool tGraphView::setScroll(int scroll) {
    scroll = std::clamp(scroll, 0, scrollMaximum_);
    if (scroll == scroll_)
        return false;
    scroll_ = scroll;
    return true;
}

bool tGraphView::zoomAround(double axisMinimum, double axisMaximum, double ratio, bool zoomIn) {
    const std::optional<tZoomPosition> zoomed =
        zoomAroundClick({axisMinimum, axisMaximum, ratio, zoom_, 1, zoomMaximum_, scroll_, zoomIn});
    if (!zoomed)
        return false;
    const bool zoomMoved = setZoom(zoomed->zoom);
    return setScroll(zoomed->scroll) || zoomMoved;
}

} // namespace pln
