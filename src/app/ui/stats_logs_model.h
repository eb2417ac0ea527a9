#pragma once

#include "app/core/stats_logs_table.h"
#include "app/ui/logs_table_model.h"
#include "graphs/core/graph_data.h"

namespace pln {

// The stats logs list's model: one row per log that is not a known-file
// log; the tick of a row tells whether the log is active or permanent.
class tStatsLogsModel : public tLogsTableModel {
    Q_OBJECT

public:
    explicit tStatsLogsModel(const tDrawnColours& colours);

    tStatsLogsTable& table() override { return table_; }
    const tStatsLogsTable& table() const override { return table_; }

    void fill(const tLogFiles& logs);
    tLogFile* logAt(int position) const;

protected:
    QString text(std::size_t position, int column) const override;
    QVariant firstColumnData(std::size_t position, int role) const override;

private:
    const tDrawnColours& colours_;
    tStatsLogsTable table_;
};

} // namespace pln
