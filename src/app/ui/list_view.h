#pragma once

#include <QStringList>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <cstddef>
#include <functional>
#include <vector>

class QMenu;

namespace pln {

// Roles the list models answer besides the standard ones.
namespace listRole {
// The colour of the item in the graphs (a tColour), when the item is drawn.
inline constexpr int lineColour = Qt::UserRole + 1;
// True for the reference files of the graphs.
inline constexpr int reference = Qt::UserRole + 2;
} // namespace listRole

// What a list keeps over a refill: its selected rows and its focused row by
// their keys, and how far it was scrolled.
struct tListMemory {
    QStringList selected;
    QString current;
    int vertical = 0;
    int horizontal = 0;
};
using tRowKey = std::function<QString(int row)>;

// A report list with check boxes in its first column, several selected rows,
// and a header whose clicks set the sort priorities: a left click makes a
// column the first priority, a right click reverses it where it stands. The
// first column stays first whatever columns the user drags.
class tListView : public QTreeView {
    Q_OBJECT

public:
    explicit tListView(QWidget* parent = nullptr);

    void setPopupMenu(QMenu* menu) { popupMenu_ = menu; }
    // Where the keyboard opens the pop-up menu: the middle of the selected
    // row's caption, kept inside the list; the top left corner when no row
    // is selected.
    QPoint keyboardMenuPoint() const;
    void setColumnWidths(std::initializer_list<int> widths);
    // The selected rows, in list order.
    std::vector<std::size_t> selectedPositions() const;
    // The rows a check box click acts on: every selected row when the
    // clicked row is one of several selected, else the clicked row alone.
    std::vector<std::size_t> actedOn(std::size_t clicked) const;
    tListMemory remember(const tRowKey& key) const;
    // Selects and focuses again the rows that are still there, and scrolls
    // back to where the list was.
    void restore(const tListMemory& memory, const tRowKey& key);
    // The drawn colours changed: their lines lie in the first column only,
    // so the other cells are not painted again.
    void updateColourLines();

signals:
    void headerClicked(int column);
    void headerRightClicked(int column);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void keepFirstColumnFirst();

    QMenu* popupMenu_ = nullptr;
};

// Draws, over the icon area of a selected row or reference file, a line in
// the colour the item has in the graphs: 3 pixels for a reference file,
// 1 pixel otherwise. A cell too narrow for its text has it as its tooltip,
// and a number that does not fit shows as "###".
class tColourLineDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    static bool fits(const QStyleOptionViewItem& option);
};

} // namespace pln
