#pragma once

#include "platform/clock.h"

namespace pln {

// The system's real-time clock and the time zone rules of the C library (TZ).
class PosixClock : public Clock {
public:
    std::int64_t nowUnixMs() override;
    CalendarMs toLocalCalendar(std::int64_t unixMs) override;
};

} // namespace pln
