#include "graphs/ui/zoom_cursors.h"

#include <QPainter>
#include <QPixmap>

namespace pln {

namespace {

constexpr int cursorSize = 32;
constexpr QPoint lensCentre(12, 12);
constexpr int lensRadius = 8;

QCursor magnifier(bool plus) {
    QPixmap image(cursorSize, cursorSize);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A white rim keeps the black glass visible on dark lines.
    for (const auto& [colour, width] : {std::pair{QColor(Qt::white), 4}, {QColor(Qt::black), 2}}) {
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(lensCentre, lensRadius, lensRadius);
        painter.drawLine(QPoint(18, 18), QPoint(27, 27));
        painter.drawLine(QPoint(8, 12), QPoint(16, 12));
        if (plus)
            painter.drawLine(QPoint(12, 8), QPoint(12, 16));
    }
    painter.end();
    return QCursor(image, lensCentre.x(), lensCentre.y());
}

} // namespace

QCursor zoomInCursor() {
    return magnifier(true);
}

QCursor zoomOutCursor() {
    return magnifier(false);
}

} // namespace pln
