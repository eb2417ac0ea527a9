#include "app/ui/list_view.h"

#include "common/colour.h"
#include "graphs/ui/qt_colour.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <algorithm>

namespace pln {

namespace {

constexpr int minimumColumnWidth = 50;

} // namespace

tListView::tListView(QWidget* parent) : QTreeView(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setItemDelegate(new tColourLineDelegate(this));

    // The selection stays visible while another control has the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);

    QHeaderView* titles = header();
    titles->setMinimumSectionSize(minimumColumnWidth);
    titles->setSectionsClickable(true);
    titles->setSectionsMovable(true);
    titles->setSortIndicatorShown(false);
    titles->setStretchLastSection(false);
    titles->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(titles, &QHeaderView::sectionClicked, this, &tListView::headerClicked);
    connect(titles, &QHeaderView::customContextMenuRequested, this, [this](const QPoint& at) {
        const int column = header()->logicalIndexAt(at);
        if (column >= 0)
            emit headerRightClicked(column);
    });
    connect(titles, &QHeaderView::sectionMoved, this, &tListView::keepFirstColumnFirst);
}

void tListView::setColumnWidths(std::initializer_list<int> widths) {
    int column = 0;
    for (int width : widths)
        setColumnWidth(column++, width);
}

std::vector<std::size_t> tListView::selectedPositions() const {
    std::vector<std::size_t> positions;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        positions.push_back(static_cast<std::size_t>(index.row()));
    std::sort(positions.begin(), positions.end());
    return positions;
}

std::vector<std::size_t> tListView::actedOn(std::size_t clicked) const {
    std::vector<std::size_t> selected = selectedPositions();
    if (selected.size() > 1 &&
        std::find(selected.begin(), selected.end(), clicked) != selected.end())
        return selected;
    return {clicked};
}

void tListView::keepFirstColumnFirst() {
    const int place = header()->visualIndex(0);
    if (place > 0)
        header()->moveSection(place, 0);
}

void tListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        const QModelIndex focused = currentIndex();
        if (focused.isValid()) {
            const QModelIndex first = focused.siblingAtColumn(0);
            if (!selectionModel()->isRowSelected(focused.row(), focused.parent())) {
                selectionModel()->select(first,
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
            } else {
                const bool ticked = first.data(Qt::CheckStateRole).toInt() == Qt::Checked;
                model()->setData(first, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
            }
        }
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

QPoint tListView::keyboardMenuPoint() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return QPoint(0, 0);
    QModelIndex row = currentIndex().siblingAtColumn(0);
    if (!selectionModel()->isRowSelected(row.row(), row.parent()))
        row = rows.first();
    const QRect label = visualRect(row);
    const QSize area = viewport()->size();
    const int half = label.height() / 2;
    const int x = std::clamp(label.center().x(), 0, std::max(0, area.width() - 4));
    const int y = std::clamp(label.center().y(), half, std::max(half, area.height() - half));
    return QPoint(x, y);
}

void tListView::contextMenuEvent(QContextMenuEvent* event) {
    if (!popupMenu_)
        return;
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard
                          ? viewport()->mapToGlobal(keyboardMenuPoint())
                          : event->globalPos();
    popupMenu_->popup(at);
    event->accept();
}

void tColourLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (index.column() != 0)
        return;
    const QVariant colour = index.data(listRole::lineColour);
    const bool reference = index.data(listRole::reference).toBool();
    if (!colour.isValid() || !(reference || (option.state & QStyle::State_Selected)))
        return;
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect icon = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &item, widget);
    painter->save();
    painter->setPen(QPen(toQColor(colour.value<tColour>()), reference ? 3 : 1));
    const int middle = icon.center().y();
    painter->drawLine(icon.left(), middle, icon.right(), middle);
    painter->restore();
}

} // namespace pln
