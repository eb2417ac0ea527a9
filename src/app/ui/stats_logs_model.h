#pragma once

#include "app/core/stats_logs_table.h"
#include "app/ui/header_images.h"

#include <QAbstractTableModel>
#include <functional>

namespace pln {

// The stats logs list's model: one row per log that is not a known-file
// log; the tick of a row tells whether the log is active or permanent.
class tStatsLogsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using CheckHandler = std::function<void(std::size_t position, bool ticked)>;

    explicit tStatsLogsModel(QObject* parent = nullptr);

    tStatsLogsTable& table() { return table_; }
    void setCheckHandler(CheckHandler handler) { checkHandler_ = std::move(handler); }

    void fill(const tLogFiles& logs);
    void rowChanged(std::size_t position);
    void removeRowAt(std::size_t position);
    void columnClick(int column);
    void columnRightClick(int column);
    tLogFile* logAt(int position) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void resort(bool full);

    tStatsLogsTable table_;
    mutable tHeaderImages images_;
    mutable QPixmap blankIcon_;
    CheckHandler checkHandler_;
};

} // namespace pln
