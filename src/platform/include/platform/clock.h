#pragma once

#include <cstdint>

namespace pln {

// Milliseconds of the local calendar since 1899-12-30 00:00: the exact form of
// a "calendar date-time". The double of days since that date is derived from
// it only where a value is shown, stored or handed to a chart axis.
using CalendarMs = std::int64_t;

inline constexpr std::int64_t msPerDay = 86'400'000;
// 1970-01-01 is day 25569 of the calendar.
inline constexpr std::int64_t unixEpochCalendarMs = 25'569LL * msPerDay;

class Clock {
public:
    virtual ~Clock() = default;

    // Now, in milliseconds since 1970-01-01 UTC.
    virtual std::int64_t nowUnixMs() = 0;
    // A UTC instant in the local calendar (the time zone rules of that instant).
    virtual CalendarMs toLocalCalendar(std::int64_t unixMs) = 0;

    CalendarMs nowLocal() { return toLocalCalendar(nowUnixMs()); }
};

} // namespace pln
