#include "logstore/ui/number_text.h"

#include <QLocale>

namespace pln {

char localDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 0x80 ? static_cast<char>(point[0].unicode())
                                                          : '.';
}

} // namespace pln
