#include "app/ui/local_text.h"

#include "graphs/ui/locale_date_time.h"

namespace pln {

std::string localDateTimeText(CalendarMs when) {
    return localeShortDateTimeText(when).toStdString();
}

} // namespace pln
