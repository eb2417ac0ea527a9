#include "app/ui/header_images.h"

#include <QFont>
#include <QPainter>
#include <QPolygon>

namespace pln {

namespace {

constexpr int side = 16;

QPixmap drawImage(int image) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    if (image == 0)
        return pixmap;
    const bool ascending = image % 2 == 1;
    const int priority = (image - 1) / 2 + 1;
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(64, 64, 64));
    const QPolygon arrow = ascending ? QPolygon({QPoint(0, 11), QPoint(8, 11), QPoint(4, 4)})
                                     : QPolygon({QPoint(0, 5), QPoint(8, 5), QPoint(4, 12)});
    painter.drawPolygon(arrow);
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(32, 32, 160));
    painter.drawText(QRect(8, 0, 8, side), Qt::AlignCenter, QString::number(priority));
    return pixmap;
}

} // namespace

QPixmap tHeaderImages::image(int index) {
    if (index < 0 || index >= headerImageCount)
        return {};
    QPixmap& cached = images_[static_cast<std::size_t>(index)];
    if (cached.isNull())
        cached = drawImage(index);
    return cached;
}

} // namespace pln
