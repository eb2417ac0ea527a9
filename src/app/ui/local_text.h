#pragma once

#include "platform/clock.h"

#include <string>

namespace pln {

// A local calendar date-time as the user reads it elsewhere on the desktop:
// the short date format, a space and the long time format of the user's
// locale, without a time-zone name (the stored value has none).
std::string localDateTimeText(CalendarMs when);

} // namespace pln
