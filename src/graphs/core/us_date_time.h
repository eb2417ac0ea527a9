#pragma once

#include "platform/clock.h"

#include <optional>
#include <string>
#include <string_view>

namespace pln {

// The US English date-time form events.log keeps whatever the user's
// locale: "M/d/yyyy h:mm:ss AM", the time left out at midnight exactly.
std::string formatUsDateTime(CalendarMs value);
// Reads that form; also a 24-hour time without AM/PM and a time without
// seconds. Empty for anything else.
std::optional<CalendarMs> parseUsDateTime(std::string_view text);

} // namespace pln
