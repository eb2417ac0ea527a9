#include "graphs/ui/events_list_delegate.h"

#include <QApplication>
#include <QPainter>

namespace pln {

namespace {

constexpr int dateLeft = 2;
constexpr int textLeft = 152;
constexpr int itemHeight = 16;
constexpr int textPadding = 2;

} // namespace

void tEventsListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, option.widget);

    const bool selected = option.state & QStyle::State_Selected;
    const QColor plain =
        option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const QVariant fileColour = index.data(fileColourRole);
    QRect dateRect = option.rect.adjusted(dateLeft, 0, 0, 0);
    dateRect.setRight(option.rect.left() + textLeft - 1);
    const QRect textRect = option.rect.adjusted(textLeft, 0, 0, 0);
    painter->save();
    painter->setPen(plain);
    painter->drawText(dateRect, Qt::AlignVCenter | Qt::AlignLeft, index.data().toString());
    const QString text = index.data(textRole).toString();
    // A file's colour may be close to the highlight's: on a selected line
    // its text keeps the list's own background behind it.
    if (fileColour.isValid() && selected) {
        const QRect behind =
            option.fontMetrics.boundingRect(textRect, Qt::AlignVCenter | Qt::AlignLeft, text);
        painter->fillRect(behind.adjusted(-textPadding, 0, textPadding, 0),
                          option.palette.color(QPalette::Base));
    }
    painter->setPen(fileColour.isValid() ? fileColour.value<QColor>() : plain);
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, text);
    painter->restore();
}

QSize tEventsListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const QSize natural = QStyledItemDelegate::sizeHint(option, index);
    return {natural.width(), std::max(itemHeight, option.fontMetrics.height() + 2)};
}

} // namespace pln
