#include "graphs/core/runtime_map.h"

#include "logstore/core/log_files.h"
#include "logstore/core/record_instants.h"

#include <algorithm>
#include <cmath>

namespace pln {

tRuntimeMap::tRuntimeMap(const tLogRecords& records, Clock* clock) : clock_(clock) {
    records_.reserve(records.count());
    for (std::size_t i = 0; i < records.count(); ++i)
        records_.push_back({records.instant(i), records.stamp(i),
                            static_cast<std::int32_t>(std::clamp<std::int64_t>(
                                records.integerValue(i), INT32_MIN, INT32_MAX))});
    nonDecreasing_ =
        std::is_sorted(records_.begin(), records_.end(),
                       [](const tEntry& a, const tEntry& b) { return a.value < b.value; });
}

std::size_t tRuntimeMap::lowerBound(std::int64_t instant, std::size_t from) const {
    auto first = records_.begin() + static_cast<std::ptrdiff_t>(from);
    return static_cast<std::size_t>(
        std::lower_bound(first, records_.end(), instant,
                         [](const tEntry& entry, std::int64_t t) { return entry.instant < t; }) -
        records_.begin());
}

std::int64_t tRuntimeMap::runtimeAtInstant(std::int64_t instant) const {
    return runtimeAt(instant, lowerBound(instant));
}

std::int64_t tRuntimeMap::runtimeAtLocal(CalendarMs local) const {
    return runtimeAtInstant(tLocalTimeZone(clock_).instantsOf(local).earlier);
}

std::int64_t tRuntimeMap::runtimeAt(std::int64_t t, std::size_t p) const {
    std::size_t n = count();
    if (n == 0)
        return -1;
    if (p < n && instant(p) == t)
        return value(p);
    if (p == 0)
        return value(0);
    if (p >= n - 1)
        return value(n - 1);
    std::int64_t v0 = value(p - 1);
    std::int64_t v1 = value(p);
    // Instants never decrease and record p is later than t, so whole > 0.
    std::int64_t whole = instant(p) - instant(p - 1);
    std::int64_t part = t - instant(p - 1);
    std::int64_t product = 0;
    double share = __builtin_mul_overflow(v1 - v0, part, &product)
                       ? static_cast<double>(v1 - v0) * static_cast<double>(part)
                       : static_cast<double>(product);
    double value = static_cast<double>(v0) + share / static_cast<double>(whole);
    return static_cast<std::int64_t>(std::nearbyint(value));
}

std::int64_t tRuntimeMap::dateAtRuntime(std::int64_t runtime) const {
    if (empty())
        return -1;
    auto p = std::lower_bound(records_.begin(), records_.end(), runtime,
                              [](const tEntry& entry, std::int64_t r) { return entry.value < r; }) -
             records_.begin();
    return stamp(std::min(static_cast<std::size_t>(p), count() - 1));
}

tRuntimeMap runtimeMapOf(const tLogFiles& logFiles) {
    const tLogFile* log = logFiles.connRunTimeLog();
    return log == nullptr ? tRuntimeMap() : tRuntimeMap(log->values(), logFiles.context().clock);
}

} // namespace pln
