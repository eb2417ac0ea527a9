#include "app/ui/local_text.h"

#include "graphs/ui/locale_date_time.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace pln {

std::string localDateTimeText(CalendarMs when) {
    std::int64_t days = when / msPerDay;
    std::int64_t msOfDay = when % msPerDay;
    if (msOfDay < 0) {
        msOfDay += msPerDay;
        --days;
    }
    const QDate date = QDate(1899, 12, 30).addDays(days);
    const QTime time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(msOfDay));
    const QLocale locale = QLocale::system();
    const QString text = locale.toString(date, QLocale::ShortFormat) + u' ' +
                         locale.toString(time, timeFormat(QLocale::LongFormat));
    return text.toStdString();
}

} // namespace pln
