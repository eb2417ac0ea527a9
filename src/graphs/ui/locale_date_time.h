#pragma once

#include "platform/clock.h"

#include <QLocale>
#include <QString>
#include <optional>

namespace pln {

// A calendar date-time in the user's locale: the short date form with a
// four-digit year (so that the text reads back to the same date), a blank
// and the long time form without a time-zone name. Milliseconds are dropped.
QString localeDateTimeText(CalendarMs value);
// The same with the date exactly in the locale's short form, for text that
// is only read.
QString localeShortDateTimeText(CalendarMs value);
// The user's time form of that length without a time-zone name.
QString timeFormat(QLocale::FormatType type);

// Reads what localeDateTimeText writes; also the date alone (midnight) and
// a time without seconds. Empty for anything else.
std::optional<CalendarMs> parseLocaleDateTime(const QString& text);

} // namespace pln
