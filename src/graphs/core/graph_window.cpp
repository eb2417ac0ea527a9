#include "graphs/core/graph_window.h"

#include "graphs/core/graph_data.h"

#include <algorithm>
#include <limits>

namespace pln {

namespace {

constexpr double secondsPerDay = 86400;

CalendarMs localReading(std::int64_t instant, Clock* clock) {
    return clock ? clock->toLocalCalendar(instant * 1000) : unixEpochCalendarMs + instant * 1000;
}

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

tGraphWindow computeGraphWindow(const tTimeRange& whole, int zoom, int scroll, int chartWidth,
                                int pointsPerPixel, Clock* clock) {
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
    window.visible.first += divideRounded(visibleSpan * s, 10);
    window.visible.last = window.visible.first + visibleSpan;

    std::int64_t points = computePointCount(visibleSpan, chartWidth, pointsPerPixel).points;
    std::int64_t step = visibleSpan / points;
    window.samples.reserve(static_cast<std::size_t>(points));
    window.xs.reserve(static_cast<std::size_t>(points));
    CalendarMs reading = INT64_MIN;
    for (std::int64_t i = 0; i < points; ++i) {
        std::int64_t at = window.visible.first + i * step;
        window.samples.push_back(at);
        if (whole.runtimeAxis) {
            window.xs.push_back(static_cast<double>(at) / secondsPerDay);
        } else {
            reading = std::max(reading, localReading(at, clock));
            window.xs.push_back(static_cast<double>(reading) / msPerDay);
        }
    }
    return window;
}

} // namespace pln
