#pragma once

#include "app/ui/list_context.h"
#include "app/ui/list_view.h"
#include "app/ui/stats_logs_model.h"

#include <QObject>
#include <string>
#include <vector>

class QItemSelection;

namespace pln {

// The behaviour of the stats logs list: check boxes switch logs between
// active and inactive (a permanent log stays ticked), deletion, moving a
// log between the two graphs, and the selection's effect on the graphs.
class tStatsLogsList : public QObject {
    Q_OBJECT

public:
    tStatsLogsList(tListView& view, tListContext context, QObject* parent = nullptr);

    tStatsLogsModel& model() { return *model_; }
    tListView& view() { return view_; }

    void logFilesLoaded();
    std::vector<std::size_t> selectedPositions() const;

    void onCheckItem(std::size_t position, bool ticked);
    // aIniDelLog: the logs of every selected row, after one confirmation.
    void deleteSelectedLogs();
    // iniDelThisLog: the log of one row.
    void deleteThisLog(std::size_t position);
    bool canDeleteLog() const;
    // aIniSwapGraph: the focused log moves to the other graph.
    bool canSwapGraph() const;
    void swapGraph();

signals:
    void stateChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void deleteLogs(std::vector<std::size_t> positions);
    void setRedrawPending();
    tRowKey rowKey() const;
    std::string logsNamed(const std::vector<std::size_t>& positions) const;

    tListView& view_;
    tListContext context_;
    tStatsLogsModel* model_;
    bool busy_ = false;
    tListMemory memory_;
    bool focusInMenu_ = false;
};

} // namespace pln
