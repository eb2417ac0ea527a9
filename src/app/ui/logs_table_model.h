#pragma once

#include "app/core/logs_table.h"
#include "app/ui/header_images.h"

#include <QAbstractTableModel>
#include <QPixmap>
#include <span>

namespace pln {

// The model of a list of logs: a table sorted by header clicks, whose header
// shows the titles with the images of the sort priorities, and whose first
// column holds the check box of the row's log. The views' selection stays on
// the same rows across a sort.
class tLogsTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    virtual tLogsTable& table() = 0;
    virtual const tLogsTable& table() const = 0;

    void columnClick(int column);
    void columnRightClick(int column);
    // The row's log changed: the row reads it again and is shown again.
    void rowChanged(std::size_t position);
    void removeRowAt(std::size_t position);
    // Active and permanent logs are ticked.
    bool ticked(std::size_t position) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    // A click in a row's check box. The list acts on the logs, then reports
    // the rows it changed.
    void checkToggled(std::size_t position, bool ticked);

protected:
    tLogsTableModel(std::span<const char* const> titles, QObject* parent);

    // Changes the rows within one reset of the views, however the change ends.
    template <class Change> void resetRows(Change change) {
        beginResetModel();
        try {
            change();
        } catch (...) {
            endResetModel();
            throw;
        }
        endResetModel();
    }

    virtual QString text(std::size_t position, int column) const = 0;
    // The first column's data in the roles besides text, check box and icon.
    virtual QVariant firstColumnData(std::size_t position, int role) const = 0;
    virtual QVariant alignment(int /*column*/) const { return {}; }
    virtual bool namesEditable() const { return false; }

private:
    void resort(bool full);

    std::span<const char* const> titles_;
    mutable tHeaderImages images_;
    // The icon area of the first column, where the colour line is drawn.
    mutable QPixmap blankIcon_;
};

} // namespace pln
