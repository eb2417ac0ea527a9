#pragma once

#include "common/calendar.h"

#include <cstdint>

namespace pln {

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
