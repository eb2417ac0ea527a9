#pragma once

#include "logstore/core/dos_date_time.h"

#include <cstdint>
#include <vector>

namespace pln {

// round(a / b) for b > 0 with halves to even, exactly.
std::int64_t divideRounded(std::int64_t a, std::int64_t b);

// The number of points for a span of seconds: one per 11-minute period,
// at most one per pointsPerPixel pixels (less one), at least one.
struct tPointCount {
    std::int64_t periods = 0;
    std::int64_t points = 1;
};
tPointCount computePointCount(std::int64_t spanSeconds, int chartWidth, int pointsPerPixel);

// The range to draw on either axis: runtime seconds, or on the real-date
// axis instants (seconds since 1970 UTC), so that a span is real time.
struct tTimeRange {
    bool runtimeAxis = false;
    std::int64_t first = 0;
    std::int64_t last = 0;

    std::int64_t spanSeconds() const { return last > first ? last - first : first - last; }
};

// The visible part of the range and its sample times.
struct tGraphWindow {
    // The zoom bar's maximum for the whole range.
    int zoomBarMaximum = 1;
    tTimeRange visible;
    // Runtime seconds, or instants on the real-date axis.
    std::vector<std::int64_t> samples;
    // The bottom-axis value of each sample: runtime days, or the days of the
    // local calendar reading of the instant. Readings of the hour repeated
    // in autumn do not go back: they stay at the hour's end until the
    // calendar passes it.
    std::vector<double> xs;
};

// Zoom z (bounded by the zoom bar's range) shows span div z, moved by
// scroll tenths of that window; the samples start every span div N of it.
// The clock's time-zone rules give the local readings (UTC without one).
tGraphWindow computeGraphWindow(const tTimeRange& whole, int zoom, int scroll, int chartWidth,
                                int pointsPerPixel, Clock* clock = nullptr);

} // namespace pln
