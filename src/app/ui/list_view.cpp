#include "app/ui/list_view.h"

#include "common/colour.h"
#include "graphs/ui/qt_colour.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QToolTip>
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

tListMemory tListView::remember(const tRowKey& key) const {
    tListMemory memory;
    for (const std::size_t position : selectedPositions())
        memory.selected << key(static_cast<int>(position));
    if (currentIndex().isValid())
        memory.current = key(currentIndex().row());
    memory.vertical = verticalScrollBar()->value();
    memory.horizontal = horizontalScrollBar()->value();
    return memory;
}

void tListView::restore(const tListMemory& memory, const tRowKey& key) {
    const QSet<QString> wanted(memory.selected.begin(), memory.selected.end());
    QItemSelection selection;
    for (int row = 0; row < model()->rowCount(); ++row) {
        const QString rowKey = key(row);
        if (wanted.contains(rowKey))
            selection.select(model()->index(row, 0), model()->index(row, 0));
        if (!memory.current.isEmpty() && rowKey == memory.current)
            selectionModel()->setCurrentIndex(model()->index(row, 0),
                                              QItemSelectionModel::NoUpdate);
    }
    selectionModel()->select(selection,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // The scroll ranges follow the new rows only once they are laid out.
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(memory.vertical);
    horizontalScrollBar()->setValue(memory.horizontal);
}

void tListView::updateColourLines() {
    viewport()->update(QRect(columnViewportPosition(0), 0, columnWidth(0), viewport()->height()));
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
    const int width = reference ? 3 : 1;
    const int middle = icon.center().y();
    // On the highlight the line keeps a border of the list's background, so
    // that a colour close to the highlight's still shows.
    if (option.state & QStyle::State_Selected)
        painter->fillRect(
            QRect(icon.left() - 1, middle - width / 2 - 2, icon.width() + 2, width + 4),
            option.palette.color(QPalette::Base));
    painter->setPen(QPen(toQColor(colour.value<tColour>()), width));
    painter->drawLine(icon.left(), middle, icon.right(), middle);
    painter->restore();
}

// A number cut short would read as another number: until its column is
// wide enough it shows as marks, as in a spreadsheet.
void tColourLineDelegate::initStyleOption(QStyleOptionViewItem* option,
                                          const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if ((option->displayAlignment & Qt::AlignRight) && !fits(*option))
        option->text = QStringLiteral("###");
}

// The whole text of a cell too narrow for it is its tooltip.
bool tColourLineDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                    const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem item = option;
    QStyledItemDelegate::initStyleOption(&item, index);
    if (item.text.isEmpty() || fits(item)) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(event->globalPos(), item.text, view, option.rect);
    return true;
}

bool tColourLineDelegate::fits(const QStyleOptionViewItem& option) {
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &option, widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    return option.fontMetrics.horizontalAdvance(option.text) <= area.width() - 2 * margin;
}

} // namespace pln
