#pragma once

#include "platform/clock.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pln {

// The MS-DOS date-time stamp that dates every log record: local time packed
// as bits 25..31 year - 1980, 21..24 month, 16..20 day, 11..15 hour, 5..10
// minute, 0..4 seconds / 2. No time zone is involved in converting it.
// Stamps are ordered as unsigned 32-bit values: the year field reaches bit 31
// in 2044, where a signed comparison would break the order.
using dosDateTime = std::uint32_t;

// 1980-01-01 00:00:00 and 2107-12-31 23:59:58, the range a stamp can hold.
inline constexpr dosDateTime firstDosDateTime = 0x00210000u;
inline constexpr dosDateTime lastDosDateTime = 0xFF9FBF7Du;

// Exact milliseconds of the local calendar. Fields out of their range (a
// month 0 or 13, a day 0, a 31st of February) are carried into the next
// larger unit, so any 32-bit value converts without failing.
CalendarMs dosDateTimeToCalendar(dosDateTime stamp);
// The two halves of that conversion: midnight of the stamp's day, and the
// milliseconds of its time of day.
CalendarMs dosDateToCalendar(dosDateTime stamp);
inline std::int64_t dosTimeOfDayMs(dosDateTime stamp) {
    std::int64_t seconds =
        ((stamp >> 11) & 0x1F) * 3600 + ((stamp >> 5) & 0x3F) * 60 + (stamp & 0x1F) * 2;
    return seconds * 1000;
}

// Truncates to the 2-second resolution; dates outside the range a stamp can
// hold are clamped to its first or last value.
dosDateTime calendarToDosDateTime(CalendarMs value);

// "YYYY-MM-DDThh:mm:ss" of a calendar date-time (milliseconds dropped), and
// back; the text may also use a space instead of the "T" and leave out the
// seconds. Empty for any other text or an impossible date.
std::string formatIsoDateTime(CalendarMs value);
std::optional<CalendarMs> parseIsoDateTime(std::string_view text);

// Days since 1899-12-30 of a proleptic Gregorian date; month and day may lie
// outside their range and are carried as above.
std::int64_t calendarDayOf(int year, int month, int day);

} // namespace pln
