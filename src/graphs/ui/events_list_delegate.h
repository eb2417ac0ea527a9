#pragma once

#include <QStyledItemDelegate>

namespace pln {

// An event of the editor's list: its date-time text at the left and its
// description in a column of its own, in the colour of its file when that
// file is drawn.
class tEventsListDelegate : public QStyledItemDelegate {
public:
    // The description, as opposed to the date-time text of the display role.
    static constexpr int textRole = Qt::UserRole;
    // A QColor for the description; absent for events without a drawn file.
    static constexpr int fileColourRole = Qt::UserRole + 1;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace pln
