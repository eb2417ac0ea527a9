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

// Division rounding toward minus infinity: dates before the calendar's
// start and instants before 1970 fall in the day or second they belong to.
constexpr std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// A calendar date-time as its day since 1899-12-30 and the milliseconds
// into that day (0 to msPerDay - 1, also before the calendar's start).
struct CalendarDayTime {
    std::int64_t day;
    std::int64_t msOfDay;
};

constexpr CalendarDayTime splitCalendar(CalendarMs value) {
    const std::int64_t day = floorDiv(value, msPerDay);
    return {day, value - day * msPerDay};
}

} // namespace pln
