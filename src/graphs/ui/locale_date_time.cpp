#include "graphs/ui/locale_date_time.h"

#include <QDateTime>
#include <QLocale>

namespace pln {

namespace {

const QDate calendarStart(1899, 12, 30);

QString fourDigitYear(QString format) {
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return format;
}

QString dateFormat() {
    return fourDigitYear(QLocale::system().dateFormat(QLocale::ShortFormat));
}

} // namespace

// The stored values carry no time zone, so its name is left out of the form.
QString timeFormat(QLocale::FormatType type) {
    QString kept;
    bool quoted = false;
    for (QChar c : QLocale::system().timeFormat(type)) {
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't')
            kept += c;
    }
    return kept.simplified();
}

namespace {

CalendarMs toCalendar(QDate date, QTime time) {
    return calendarStart.daysTo(date) * msPerDay + time.msecsSinceStartOfDay();
}

QString dateTimeText(CalendarMs value, bool fourDigitYear) {
    const auto [day, msOfDay] = splitCalendar(value);
    const QDate date = calendarStart.addDays(day);
    const QTime time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(msOfDay / 1000 * 1000));
    const QLocale locale = QLocale::system();
    const QString dateText = fourDigitYear ? locale.toString(date, dateFormat())
                                           : locale.toString(date, QLocale::ShortFormat);
    return dateText + u' ' + locale.toString(time, timeFormat(QLocale::LongFormat));
}

} // namespace

QString localeDateTimeText(CalendarMs value) {
    return dateTimeText(value, true);
}

QString localeShortDateTimeText(CalendarMs value) {
    return dateTimeText(value, false);
}

std::optional<CalendarMs> parseLocaleDateTime(const QString& text) {
    const QLocale locale = QLocale::system();
    const QString trimmed = text.simplified();
    // Date and time are read apart: a reading is a calendar value, valid even
    // in the hour skipped when the clocks go forward, where no local
    // date-time exists. The date may hold blanks, so every split is tried.
    for (qsizetype blank = trimmed.indexOf(u' '); blank >= 0;
         blank = trimmed.indexOf(u' ', blank + 1)) {
        const QDate date = locale.toDate(trimmed.left(blank), dateFormat());
        if (!date.isValid())
            continue;
        for (QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
            const QTime time = locale.toTime(trimmed.mid(blank + 1), timeFormat(type));
            if (time.isValid())
                return toCalendar(date, time);
        }
    }
    const QDate date = locale.toDate(trimmed, dateFormat());
    if (date.isValid())
        return toCalendar(date, QTime(0, 0));
    return std::nullopt;
}

} // namespace pln
