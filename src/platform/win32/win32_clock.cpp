#include "platform/win32/win32_clock.h"

#include "platform/win32/win32_file_time.h"

namespace pln {

namespace {

constexpr std::int64_t ticksPerMs = 10'000;
// 1601-01-01 is day -109205 of the calendar that starts on 1899-12-30.
constexpr std::int64_t calendarMsAt1601 = -109'205LL * msPerDay;

FILETIME toFileTime(std::int64_t ticks) {
    FILETIME time{};
    time.dwLowDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) & 0xFFFFFFFFu);
    time.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) >> 32);
    return time;
}

} // namespace

std::int64_t Win32Clock::nowUnixMs() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return (fileTimeTicks(now) - fileTimeTicksTo1970) / ticksPerMs;
}

// The local wall time of the instant, read back as ticks, is the calendar
// time: both count from 1601 without leap seconds.
CalendarMs Win32Clock::toLocalCalendar(std::int64_t unixMs) {
    const std::int64_t ticks = unixMs * ticksPerMs + fileTimeTicksTo1970;
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    FILETIME localTime{};
    FILETIME instant = toFileTime(ticks);
    if (ticks < 0 || !::FileTimeToSystemTime(&instant, &utc) ||
        !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) ||
        !::SystemTimeToFileTime(&local, &localTime))
        return unixEpochCalendarMs + unixMs;
    return calendarMsAt1601 + fileTimeTicks(localTime) / ticksPerMs;
}

} // namespace pln
