#include "app/ui/stats_logs_list.h"

#include "common/missing_value.h"
#include "logstore/core/log_file.h"

#include <QAction>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QScrollBar>

namespace pln {

tStatsLogsList::tStatsLogsList(tListView& view, tListContext context, QObject* parent)
    : tLogsList(view, new tStatsLogsModel(context.colours), std::move(context), parent) {
    view_.setColumnWidths({150, 70, 150, 150, 150, 80});
    view_.installEventFilter(this);
    connect(view_.selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { memory_ = view_.remember(rowKey()); });
}

// The rows' logs are gone with the last catalogue: what was selected is
// known by the names remembered at each change.
void tStatsLogsList::logFilesLoaded() {
    memory_.vertical = view_.verticalScrollBar()->value();
    memory_.horizontal = view_.horizontalScrollBar()->value();
    const tListMemory memory = memory_;
    model().fill(context_.logFiles);
    if (model().rowCount() > 0)
        view_.selectionModel()->setCurrentIndex(model().index(0, 0), QItemSelectionModel::NoUpdate);
    view_.restore(memory, rowKey());
    requestRedraw();
    emit stateChanged();
}

bool tStatsLogsList::switchable(std::size_t position) const {
    return model().logAt(static_cast<int>(position)) != nullptr;
}

// The logs a deletion takes, a line each; permanent logs stay.
std::string tStatsLogsList::logsNamed(const std::vector<std::size_t>& positions) const {
    std::string names;
    for (std::size_t position : positions) {
        const tStatsLogRow& row = model().table().row(position);
        if (row.state != tLogState::permanent)
            names += row.texts[static_cast<std::size_t>(tStatsLogsColumn::value)] + "\n";
    }
    return names;
}

bool tStatsLogsList::canSwapGraph() const {
    return (view_.hasFocus() || focusInMenu_) && view_.currentIndex().isValid();
}

// A menu opened from the list, however it was opened, acts on the list's
// focused log: the focus it took is the list's still.
bool tStatsLogsList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &view_ && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        focusInMenu_ = reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason;
    } else if (watched == &view_ && event->type() == QEvent::FocusIn) {
        focusInMenu_ = false;
    }
    return QObject::eventFilter(watched, event);
}

void tStatsLogsList::swapGraph() {
    const QModelIndex focused = view_.currentIndex();
    tLogFile* log = model().logAt(focused.row());
    if (!log)
        return;
    const bool combined = log->kind() == tLogKind::virtualLog;
    log->updateProperties(static_cast<std::uint8_t>(log->flags() ^ flagShowWithRequests),
                          log->units(), log->multiplier(),
                          combined ? log->operation() : tLogOperation::sum,
                          combined ? log->maxValue() : missingValue());
    model().rowChanged(static_cast<std::size_t>(focused.row()));
    requestRedraw();
}

void tStatsLogsList::bindActions(const tMainActions& actions, tActionRefresh& refresh) {
    actions_ = &actions;
    connect(&refresh, &tActionRefresh::due, this, &tStatsLogsList::updateActions);
    connect(actions.aIniDelLog, &QAction::triggered, this, &tStatsLogsList::deleteSelectedLogs);
    connect(actions.aIniSwapGraph, &QAction::triggered, this, &tStatsLogsList::swapGraph);
}

void tStatsLogsList::updateActions() {
    actions_->aIniDelLog->setEnabled(canDeleteLog());
    actions_->aIniSwapGraph->setEnabled(canSwapGraph());
}

} // namespace pln
