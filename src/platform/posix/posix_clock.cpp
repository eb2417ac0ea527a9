#include "platform/posix/posix_clock.h"

#include <ctime>

namespace pln {

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar
// (the era-based algorithm, exact for every year).
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

} // namespace

std::int64_t PosixClock::nowUnixMs() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

CalendarMs PosixClock::toLocalCalendar(std::int64_t unixMs) {
    const std::int64_t seconds = floorDiv(unixMs, 1000);
    const std::int64_t ms = unixMs - seconds * 1000;
    const auto t = static_cast<std::time_t>(seconds);
    std::tm local{};
    // Without a local time for the instant (out of the C library's range) the
    // calendar of UTC is the only answer left.
    if (!::localtime_r(&t, &local))
        return unixEpochCalendarMs + unixMs;
    const std::int64_t days =
        daysFromCivil(local.tm_year + 1900LL, static_cast<unsigned>(local.tm_mon + 1),
                      static_cast<unsigned>(local.tm_mday));
    const std::int64_t secondsOfDay = local.tm_hour * 3600LL + local.tm_min * 60LL + local.tm_sec;
    return unixEpochCalendarMs + days * msPerDay + secondsOfDay * 1000 + ms;
}

} // namespace pln
