#include "graphs/core/graph_window.h"

#include "graphs/core/graph_data.h"

#include <algorithm>
#include <limits>

namespace pln {

namespace {

constexpr double secondsPerDay = 86400;

} // namespace

std::int64_t divideRounded(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b, r = a % b;
    if (r < 0) {
        q -= 1;
        r += b;
    }
    if (2 * r > b || (2 * r == b && q % 2 != 0))
        ++q;
    return q;
}

tPointCount computePointCount(std::int64_t spanSeconds, int chartWidth, int pointsPerPixel) {
    tPointCount count;
    count.periods = divideRounded(spanSeconds, savePeriodSeconds);
    std::int64_t width = chartWidth / std::clamp(pointsPerPixel, 1, 10);
    count.points = std::max<std::int64_t>(width > count.periods ? count.periods : width - 1, 1);
    return count;
}

std::int64_t tTimeRange::spanSeconds() const {
    std::int64_t span = last > first ? last - first : first - last;
    return runtimeAxis ? span : span / 1000;
}

tGraphWindow computeGraphWindow(const tTimeRange& whole, int zoom, int scroll, int chartWidth,
                                int pointsPerPixel) {
    tGraphWindow window;
    std::int64_t span = whole.spanSeconds();
    tPointCount all = computePointCount(span, chartWidth, pointsPerPixel);
    window.zoomBarMaximum = all.periods == 0
                                ? 1
                                : static_cast<int>(std::min<std::int64_t>(
                                      all.periods / all.points, std::numeric_limits<int>::max()));
    // The bars bound their positions by their ranges.
    int z = std::clamp(zoom, 1, window.zoomBarMaximum);
    int s = std::clamp(scroll, 0, (z - 1) * 10);
    std::int64_t visibleSpan = span / z;
    window.visible = whole;
    window.visible.first += whole.secondsToUnits(divideRounded(visibleSpan * s, 10));
    window.visible.last = window.visible.first + whole.secondsToUnits(visibleSpan);

    std::int64_t points = computePointCount(visibleSpan, chartWidth, pointsPerPixel).points;
    std::int64_t step = visibleSpan / points;
    window.samples.reserve(static_cast<std::size_t>(points));
    window.xs.reserve(static_cast<std::size_t>(points));
    for (std::int64_t i = 0; i < points; ++i) {
        std::int64_t at = window.visible.first + whole.secondsToUnits(i * step);
        if (whole.runtimeAxis) {
            window.samples.push_back(at);
            window.xs.push_back(static_cast<double>(at) / secondsPerDay);
        } else {
            dosDateTime stamp = calendarToDosDateTime(at);
            window.samples.push_back(stamp);
            window.xs.push_back(static_cast<double>(dosDateTimeToCalendar(stamp)) / msPerDay);
        }
    }
    return window;
}

} // namespace pln
