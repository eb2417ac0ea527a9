#include "graphs/core/us_date_time.h"

#include "logstore/core/dos_date_time.h"

#include <charconv>
#include <cstdio>

namespace pln {

namespace {

int numberAt(const std::string& iso, std::size_t pos, std::size_t width) {
    int value = 0;
    std::from_chars(iso.data() + pos, iso.data() + pos + width, value);
    return value;
}

// Reads an unsigned number of 1 to maxDigits digits at the front of text.
std::optional<int> takeNumber(std::string_view& text, std::size_t maxDigits) {
    std::size_t digits = 0;
    while (digits < text.size() && digits <= maxDigits && text[digits] >= '0' &&
           text[digits] <= '9')
        ++digits;
    if (digits == 0 || digits > maxDigits)
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + digits, value);
    text.remove_prefix(digits);
    return value;
}

bool takeChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c)
        return false;
    text.remove_prefix(1);
    return true;
}

void skipBlanks(std::string_view& text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
}

// "h:mm[:ss][ AM|PM]" into seconds of the day.
std::optional<int> takeTime(std::string_view& text) {
    auto hour = takeNumber(text, 2);
    if (!hour || !takeChar(text, ':'))
        return std::nullopt;
    auto minute = takeNumber(text, 2);
    std::optional<int> second = 0;
    if (takeChar(text, ':'))
        second = takeNumber(text, 2);
    if (!minute || !second || *minute > 59 || *second > 59)
        return std::nullopt;
    skipBlanks(text);
    if (text.size() >= 2 && (text[1] == 'M' || text[1] == 'm')) {
        char half = static_cast<char>(text[0] | 0x20);
        if ((half != 'a' && half != 'p') || *hour < 1 || *hour > 12)
            return std::nullopt;
        *hour = *hour % 12 + (half == 'p' ? 12 : 0);
        text.remove_prefix(2);
    } else if (*hour > 23) {
        return std::nullopt;
    }
    return (*hour * 60 + *minute) * 60 + *second;
}

} // namespace

std::string formatUsDateTime(CalendarMs value) {
    std::string iso = formatIsoDateTime(value);
    std::size_t t = iso.find('T');
    int year = numberAt(iso, 0, t - 6), month = numberAt(iso, t - 5, 2);
    int day = numberAt(iso, t - 2, 2), hour = numberAt(iso, t + 1, 2);
    int minute = numberAt(iso, t + 4, 2), second = numberAt(iso, t + 7, 2);
    char text[64];
    if (hour == 0 && minute == 0 && second == 0) {
        std::snprintf(text, sizeof text, "%d/%d/%04d", month, day, year);
    } else {
        int hour12 = hour % 12 == 0 ? 12 : hour % 12;
        std::snprintf(text, sizeof text, "%d/%d/%04d %d:%02d:%02d %s", month, day, year, hour12,
                      minute, second, hour < 12 ? "AM" : "PM");
    }
    return text;
}

std::optional<CalendarMs> parseUsDateTime(std::string_view text) {
    skipBlanks(text);
    auto month = takeNumber(text, 2);
    if (!month || !takeChar(text, '/'))
        return std::nullopt;
    auto day = takeNumber(text, 2);
    if (!day || !takeChar(text, '/'))
        return std::nullopt;
    auto year = takeNumber(text, 4);
    if (!year || *month < 1 || *month > 12 || *day < 1 || *year < 1 ||
        calendarDayOf(*year, *month, *day) >= calendarDayOf(*year, *month + 1, 1))
        return std::nullopt;
    std::optional<int> seconds = 0;
    skipBlanks(text);
    if (!text.empty())
        seconds = takeTime(text);
    skipBlanks(text);
    if (!seconds || !text.empty())
        return std::nullopt;
    return calendarDayOf(*year, *month, *day) * msPerDay + std::int64_t{*seconds} * 1000;
}

} // namespace pln
