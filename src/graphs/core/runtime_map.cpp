#include "graphs/core/runtime_map.h"

#include "logstore/core/log_files.h"

#include <cmath>

namespace pln {

namespace {

std::int64_t secondsBetween(CalendarMs a, CalendarMs b) {
    return (a > b ? a - b : b - a) / 1000;
}

} // namespace

std::int64_t tRuntimeMap::runtimeAtDate(dosDateTime time) const {
    return runtimeAt(time, records_.lowerBound(time));
}

std::int64_t tRuntimeMap::runtimeAt(dosDateTime time, std::size_t p) const {
    std::size_t n = records_.count();
    if (n == 0)
        return -1;
    if (p < n && records_.stamp(p) == time)
        return records_.integerValue(p);
    if (p == 0)
        return records_.integerValue(0);
    if (p >= n - 1)
        return records_.integerValue(n - 1);
    std::int64_t v0 = records_.integerValue(p - 1);
    std::int64_t v1 = records_.integerValue(p);
    CalendarMs t0 = dosDateTimeToCalendar(records_.stamp(p - 1));
    std::int64_t whole = secondsBetween(t0, dosDateTimeToCalendar(records_.stamp(p)));
    // Two stamps with fields out of range can name the same moment.
    if (whole == 0)
        return v0;
    std::int64_t part = secondsBetween(t0, dosDateTimeToCalendar(time));
    std::int64_t product = 0;
    double share = __builtin_mul_overflow(v1 - v0, part, &product)
                       ? static_cast<double>(v1 - v0) * static_cast<double>(part)
                       : static_cast<double>(product);
    double value = static_cast<double>(v0) + share / static_cast<double>(whole);
    return static_cast<std::int64_t>(std::nearbyint(value));
}

std::int64_t tRuntimeMap::dateAtRuntime(std::int64_t runtime) const {
    std::size_t n = records_.count();
    if (n == 0)
        return -1;
    std::size_t lo = 0, hi = n;
    while (lo < hi) {
        std::size_t mid = lo + (hi - lo) / 2;
        if (records_.integerValue(mid) < runtime)
            lo = mid + 1;
        else
            hi = mid;
    }
    return records_.stamp(lo < n ? lo : n - 1);
}

std::int64_t tRuntimeCursor::runtimeAtDate(dosDateTime time) {
    const tLogRecords& records = map_.records();
    std::size_t n = records.count();
    if (time < last_) {
        position_ = records.lowerBound(time);
    } else {
        // Gallop forward from the last answer, then search the last step.
        std::size_t step = 1, lo = position_;
        while (lo + step <= n && records.stamp(lo + step - 1) < time) {
            lo += step;
            step *= 2;
        }
        std::size_t hi = std::min(n, lo + step);
        while (lo < hi) {
            std::size_t mid = lo + (hi - lo) / 2;
            if (records.stamp(mid) < time)
                lo = mid + 1;
            else
                hi = mid;
        }
        position_ = lo;
    }
    last_ = time;
    return map_.runtimeAt(time, position_);
}

tRuntimeMap runtimeMapOf(const tLogFiles& logFiles) {
    const tLogFile* log = logFiles.connRunTimeLog();
    if (log == nullptr)
        return tRuntimeMap(tLogRecords({}, valueTypeInteger));
    return tRuntimeMap(log->values());
}

std::int64_t runtimeAtDate(const tLogFiles& logFiles, dosDateTime time) {
    return runtimeMapOf(logFiles).runtimeAtDate(time);
}

std::int64_t dateAtRuntime(const tLogFiles& logFiles, std::int64_t runtime) {
    return runtimeMapOf(logFiles).dateAtRuntime(runtime);
}

} // namespace pln
