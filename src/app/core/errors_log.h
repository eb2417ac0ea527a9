#pragma once

#include "platform/clock.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

// The recorder's errors.log in the data folder: one error per line, the time
// as a decimal number of days since 1899-12-30 written with "." whatever the
// locale, "|", and the message.
inline constexpr const char* errorsLogFileName = "errors.log";

// The days of a date-time with up to ten decimals, trailing zeros dropped:
// 39000.5, 39000.0000115741.
std::string formatErrorsLogTime(CalendarMs when);
// Empty when the text is not a decimal number with "." or lies outside the
// years 100 to 9999.
std::optional<CalendarMs> parseErrorsLogTime(const std::string& text);

// One line of the file, without its line break; line breaks inside the
// message become spaces so that the message stays on its line.
std::string errorsLogLine(CalendarMs when, std::string_view message);

// The lines the viewer shows, in file order: a line without "|" or starting
// with it is dropped; otherwise the time is shown as the user reads dates,
// three spaces and the message; a line whose time cannot be read is kept as
// it is.
std::vector<std::string>
errorsLogDisplayLines(std::string_view fileText,
                      const std::function<std::string(CalendarMs)>& dateTimeText);

// The text of errors.log for display. A file grown beyond the limit is read
// from the first whole line of its last limit bytes; an unreadable file
// throws Error with the system's reason.
inline constexpr std::size_t errorsLogReadLimit = 4u << 20;
std::string readErrorsLog(const std::string& path);

} // namespace pln
