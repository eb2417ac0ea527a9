#pragma once

#include "platform/clock.h"

namespace pln {

// The system time and the time zone rules of the user's Windows settings.
class Win32Clock : public Clock {
public:
    std::int64_t nowUnixMs() override;
    CalendarMs toLocalCalendar(std::int64_t unixMs) override;
};

} // namespace pln
