#include "graphs/ui/qt_colour.h"

#include "graphs/core/colors.h"

#include <QPainter>

namespace pln {

QColor toQColor(tColour colour) {
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

tColour fromQColor(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return rgbColour(static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
                     static_cast<std::uint8_t>(rgb.blue()));
}

QPixmap colourSwatch(tColour colour, int size) {
    QPixmap swatch(size, size);
    swatch.fill(toQColor(colour));
    QPainter painter(&swatch);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, size - 1, size - 1);
    return swatch;
}

} // namespace pln
