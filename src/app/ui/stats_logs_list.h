#pragma once

#include "app/ui/action_refresh.h"
#include "app/ui/logs_list.h"
#include "app/ui/main_actions.h"
#include "app/ui/stats_logs_model.h"

#include <string>
#include <vector>

namespace pln {

// The stats logs list: a permanent log stays ticked and cannot be deleted,
// a deleted log leaves the list, and a log moves between the two graphs.
class tStatsLogsList : public tLogsList {
    Q_OBJECT

public:
    tStatsLogsList(tListView& view, tListContext context, QObject* parent = nullptr);

    // Refills the rows from the catalogue, keeping the selection by name.
    void logFilesLoaded();
    tStatsLogsModel& model() const { return modelAs<tStatsLogsModel>(); }
    // aIniSwapGraph: the focused log moves to the other graph.
    bool canSwapGraph() const;
    void swapGraph();

    // The list's actions: the list serves them and, on each refresh, enables
    // them as they apply.
    void bindActions(const tMainActions& actions, tActionRefresh& refresh);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool switchable(std::size_t position) const override;
    std::string logsNamed(const std::vector<std::size_t>& positions) const override;
    void logDeleted(std::size_t position) override { model().removeRowAt(position); }
    void selectionMade() override { memory_ = view_.remember(rowKey()); }

private:
    void updateActions();

    const tMainActions* actions_ = nullptr;
    tListMemory memory_;
    bool focusInMenu_ = false;
};

} // namespace pln
