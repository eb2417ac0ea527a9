#pragma once

#include "logstore/core/log_records.h"
#include "platform/clock.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace pln {

// The UTC instants, in seconds since 1970, that a local wall-clock reading
// can stand for: one outside daylight-saving changes, two in the hour that
// is repeated when the clocks go back. A reading in the hour skipped when
// they go forward is taken with the offset that held before the change.
struct tLocalInstants {
    std::int64_t earlier = 0;
    std::int64_t later = 0;
};

// Local readings turned into instants through the time-zone rules of a
// clock (the platform's service); without a clock a reading is taken as
// UTC. Readings of one day share their offset unless the day holds a
// change, so the rules are consulted about twice a day, not per reading.
class tLocalTimeZone {
public:
    explicit tLocalTimeZone(Clock* clock) : clock_(clock) {}

    tLocalInstants instantsOf(CalendarMs local);
    // The same for a record's stamp. A log holds about a hundred stamps a
    // day: outside a day with a change, each is its day's first second plus
    // its time of day, so the calendar is worked out once per date.
    tLocalInstants instantsOf(dosDateTime stamp);

private:
    std::int64_t offsetMsAt(std::int64_t unixMs) const;

    Clock* clock_;
    std::int64_t day_ = INT64_MIN;
    std::int64_t dayOffsetMs_ = 0;
    std::int64_t nextOffsetMs_ = 0;
    // The date bits of the last stamp, its midnight, and that midnight's
    // instant when one offset in whole seconds holds all that day.
    std::uint32_t stampDate_ = UINT32_MAX;
    CalendarMs stampMidnight_ = 0;
    std::optional<std::int64_t> midnightInstant_;
};

// One instant per record, never decreasing: a record whose earlier instant
// lies before its predecessor's (the repeated autumn hour) takes its later
// one, and a record still before its predecessor (a clock set back by hand)
// takes its predecessor's instant. Elapsed time between two records is the
// difference of their instants, never negative.
std::vector<std::int64_t> recordInstants(const tLogRecords& records, Clock* clock);

} // namespace pln
