#include "logstore/core/record_instants.h"

#include <algorithm>

namespace pln {

namespace {

std::int64_t secondsOf(std::int64_t unixMs) {
    return floorDiv(unixMs, 1000);
}

} // namespace

std::int64_t tLocalTimeZone::offsetMsAt(std::int64_t unixMs) const {
    return clock_->toLocalCalendar(unixMs) - unixEpochCalendarMs - unixMs;
}

tLocalInstants tLocalTimeZone::instantsOf(CalendarMs local) {
    const std::int64_t asUtc = local - unixEpochCalendarMs;
    if (clock_ == nullptr)
        return {secondsOf(asUtc), secondsOf(asUtc)};
    const std::int64_t day = floorDiv(local, msPerDay);
    if (day != day_) {
        // Offsets a day before and two days after the local day bracket
        // every instant that can read as a time of that day.
        const std::int64_t dayStart = day * msPerDay - unixEpochCalendarMs;
        dayOffsetMs_ = offsetMsAt(dayStart - msPerDay);
        nextOffsetMs_ = offsetMsAt(dayStart + 2 * msPerDay);
        day_ = day;
    }
    const std::int64_t before = asUtc - dayOffsetMs_;
    if (dayOffsetMs_ == nextOffsetMs_)
        return {secondsOf(before), secondsOf(before)};
    const std::int64_t after = asUtc - nextOffsetMs_;
    const bool beforeReads = before + offsetMsAt(before) == asUtc;
    const bool afterReads = after + offsetMsAt(after) == asUtc;
    if (beforeReads && afterReads)
        return {secondsOf(std::min(before, after)), secondsOf(std::max(before, after))};
    const std::int64_t only = afterReads && !beforeReads ? after : before;
    return {secondsOf(only), secondsOf(only)};
}

tLocalInstants tLocalTimeZone::instantsOf(dosDateTime stamp) {
    const std::uint32_t date = stamp >> 16;
    if (date != stampDate_) {
        stampDate_ = date;
        stampMidnight_ = dosDateToCalendar(stamp);
        const tLocalInstants midnight = instantsOf(stampMidnight_);
        const std::int64_t utcMs = stampMidnight_ - unixEpochCalendarMs - dayOffsetMs_;
        const bool plain = dayOffsetMs_ == nextOffsetMs_ && utcMs % 1000 == 0;
        midnightInstant_ = plain ? std::optional(midnight.earlier) : std::nullopt;
    }
    const std::int64_t timeOfDayMs = dosTimeOfDayMs(stamp);
    // Fields beyond their range can carry a time into the next day, whose
    // offset may differ.
    if (!midnightInstant_ || timeOfDayMs >= msPerDay)
        return instantsOf(stampMidnight_ + timeOfDayMs);
    const std::int64_t instant = *midnightInstant_ + timeOfDayMs / 1000;
    return {instant, instant};
}

std::vector<std::int64_t> recordInstants(const tLogRecords& records, Clock* clock) {
    tLocalTimeZone zone(clock);
    std::vector<std::int64_t> instants;
    instants.reserve(records.count());
    for (std::size_t i = 0; i < records.count(); ++i) {
        tLocalInstants candidates = zone.instantsOf(records.stamp(i));
        std::int64_t instant = candidates.earlier;
        if (i > 0) {
            const std::int64_t previous = instants.back();
            if (instant < previous)
                instant = candidates.later < previous ? previous : candidates.later;
        }
        instants.push_back(instant);
    }
    return instants;
}

} // namespace pln
