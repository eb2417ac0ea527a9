#include "logstore/core/dos_date_time.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace pln {

namespace {

// 1970-01-01 is day 25569 of the calendar.
constexpr std::int64_t unixEpochDay = 25'569;

// Days since 1970-01-01 of a proleptic Gregorian date with a valid month.
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    std::int64_t era = floorDiv(y, 400);
    std::int64_t yoe = y - era * 400;
    std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct CivilDate {
    std::int64_t year;
    int month;
    int day;
};

CivilDate civilFromDays(std::int64_t z) {
    z += 719468;
    std::int64_t era = floorDiv(z, 146097);
    std::int64_t doe = z - era * 146097;
    std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    std::int64_t mp = (5 * doy + 2) / 153;
    int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (m <= 2), m, d};
}

} // namespace

std::int64_t calendarDayOf(int year, int month, int day) {
    std::int64_t monthIndex = static_cast<std::int64_t>(year) * 12 + (month - 1);
    std::int64_t y = floorDiv(monthIndex, 12);
    int m = static_cast<int>(monthIndex - y * 12) + 1;
    return daysFromCivil(y, m, 1) + (day - 1) + unixEpochDay;
}

CalendarMs dosDateToCalendar(dosDateTime stamp) {
    int year = 1980 + static_cast<int>(stamp >> 25);
    int month = static_cast<int>((stamp >> 21) & 0x0F);
    int day = static_cast<int>((stamp >> 16) & 0x1F);
    return calendarDayOf(year, month, day) * msPerDay;
}

CalendarMs dosDateTimeToCalendar(dosDateTime stamp) {
    return dosDateToCalendar(stamp) + dosTimeOfDayMs(stamp);
}

dosDateTime calendarToDosDateTime(CalendarMs value) {
    static const CalendarMs first = dosDateTimeToCalendar(firstDosDateTime);
    static const CalendarMs last = dosDateTimeToCalendar(lastDosDateTime);
    value = std::clamp(value, first, last);
    const auto [day, msOfDay] = splitCalendar(value);
    std::int64_t secondOfDay = msOfDay / 1000;
    CivilDate date = civilFromDays(day - unixEpochDay);
    auto field = [](std::int64_t v) { return static_cast<std::uint32_t>(v); };
    return field(date.year - 1980) << 25 | field(date.month) << 21 | field(date.day) << 16 |
           field(secondOfDay / 3600) << 11 | field(secondOfDay / 60 % 60) << 5 |
           field(secondOfDay % 60 / 2);
}

std::string formatIsoDateTime(CalendarMs value) {
    const auto [day, msOfDay] = splitCalendar(value);
    std::int64_t second = msOfDay / 1000;
    CivilDate date = civilFromDays(day - unixEpochDay);
    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02lld:%02lld:%02lld",
                  static_cast<long long>(date.year), date.month, date.day,
                  static_cast<long long>(second / 3600), static_cast<long long>(second / 60 % 60),
                  static_cast<long long>(second % 60));
    return text;
}

std::optional<CalendarMs> parseIsoDateTime(std::string_view text) {
    auto field = [&](std::size_t pos, std::size_t width, int low, int high) -> std::optional<int> {
        int value = 0;
        if (pos + width > text.size())
            return std::nullopt;
        const char* first = text.data() + pos;
        auto [end, error] = std::from_chars(first, first + width, value);
        if (error != std::errc() || end != first + width || value < low || value > high)
            return std::nullopt;
        return value;
    };
    bool withSeconds = text.size() == 19;
    if ((text.size() != 16 && !withSeconds) || text[4] != '-' || text[7] != '-' ||
        (text[10] != 'T' && text[10] != ' ') || text[13] != ':' || (withSeconds && text[16] != ':'))
        return std::nullopt;
    auto year = field(0, 4, 1, 9999), month = field(5, 2, 1, 12), day = field(8, 2, 1, 31);
    auto hour = field(11, 2, 0, 23), minute = field(14, 2, 0, 59);
    auto second = withSeconds ? field(17, 2, 0, 59) : std::optional<int>(0);
    if (!year || !month || !day || !hour || !minute || !second ||
        calendarDayOf(*year, *month, *day) >= calendarDayOf(*year, *month + 1, 1))
        return std::nullopt;
    return calendarDayOf(*year, *month, *day) * msPerDay +
           ((*hour * 60LL + *minute) * 60 + *second) * 1000;
}

} // namespace pln
