#include "app/ui/stats_logs_list.h"

#include "app/ui/list_support.h"
#include "app/ui/list_view.h"
#include "common/missing_value.h"
#include "logstore/core/log_file.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <algorithm>

namespace pln {

tStatsLogsList::tStatsLogsList(tListView& view, tListContext context, QObject* parent)
    : QObject(parent), view_(view), context_(std::move(context)),
      model_(new tStatsLogsModel(this)) {
    view_.setModel(model_);
    view_.setColumnWidths({150, 70, 150, 150, 150, 80});
    model_->setCheckHandler(
        [this](std::size_t position, bool ticked) { onCheckItem(position, ticked); });
    connect(&view_, &tListView::headerClicked, model_, &tStatsLogsModel::columnClick);
    connect(&view_, &tListView::headerRightClicked, model_, &tStatsLogsModel::columnRightClick);
    connect(view_.selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &tStatsLogsList::selectionChanged);
}

void tStatsLogsList::logFilesLoaded() {
    model_->fill(context_.logFiles);
    if (model_->rowCount() > 0)
        view_.selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::NoUpdate);
    setRedrawPending();
    emit stateChanged();
}

std::vector<std::size_t> tStatsLogsList::selectedPositions() const {
    return view_.selectedPositions();
}

void tStatsLogsList::onCheckItem(std::size_t clicked, bool ticked) {
    if (busy_ || context_.logFiles.count() == 0 || !model_->logAt(static_cast<int>(clicked)))
        return;
    if (!ticked && ctrlHeld()) {
        if (view_.selectionModel()->isRowSelected(static_cast<int>(clicked), {}))
            deleteSelectedLogs();
        else
            deleteThisLog(clicked);
        return;
    }
    BusyScope busy(busy_);
    for (std::size_t position : view_.actedOn(clicked)) {
        const tStatsLogRow& row = model_->table().row(position);
        if (row.ticked() == ticked && position != clicked)
            continue;
        if (row.state != tLogState::permanent)
            context_.logFiles.setLogState(row.log->name(),
                                          ticked ? tLogState::active : tLogState::inactive);
        model_->rowChanged(position);
    }
    emit stateChanged();
}

void tStatsLogsList::deleteSelectedLogs() {
    if (busy_ || !context_.prompter.confirm(confirmDeleteSelectedLogs))
        return;
    deleteLogs(view_.selectedPositions());
}

void tStatsLogsList::deleteThisLog(std::size_t position) {
    if (busy_ || !context_.prompter.confirm(confirmDeleteThisLog))
        return;
    deleteLogs({position});
}

void tStatsLogsList::deleteLogs(std::vector<std::size_t> positions) {
    BusyScope busy(busy_);
    // From the last row up, so that the positions still to do stay valid.
    std::sort(positions.rbegin(), positions.rend());
    for (std::size_t position : positions) {
        const tStatsLogRow& row = model_->table().row(position);
        if (row.state == tLogState::permanent)
            continue;
        context_.logFiles.setLogState(row.log->name(), tLogState::none);
        model_->removeRowAt(position);
    }
    setRedrawPending();
    emit stateChanged();
}

bool tStatsLogsList::canDeleteLog() const {
    for (std::size_t position : view_.selectedPositions()) {
        const tLogState state = model_->table().row(position).state;
        if (state == tLogState::inactive || state == tLogState::active)
            return true;
    }
    return false;
}

bool tStatsLogsList::canSwapGraph() const {
    return view_.hasFocus() && view_.currentIndex().isValid();
}

void tStatsLogsList::swapGraph() {
    const QModelIndex focused = view_.currentIndex();
    tLogFile* log = model_->logAt(focused.row());
    if (!log)
        return;
    const bool combined = log->kind() == tLogKind::virtualLog;
    log->updateProperties(static_cast<std::uint8_t>(log->flags() ^ flagShowWithRequests),
                          log->units(), log->multiplier(),
                          combined ? log->operation() : tLogOperation::sum,
                          combined ? log->maxValue() : missingValue());
    model_->rowChanged(static_cast<std::size_t>(focused.row()));
    setRedrawPending();
}

void tStatsLogsList::selectionChanged(const QItemSelection& selected,
                                      const QItemSelection& deselected) {
    if (QCoreApplication::closingDown())
        return;
    // A row leaving the list during a deletion has lost its log already.
    if (!busy_ && context_.logFiles.count() > 0)
        for (const QItemSelection* change : {&selected, &deselected})
            for (const QModelIndex& index : change->indexes())
                if (index.column() == 0)
                    if (tLogFile* log = model_->logAt(index.row()))
                        log->setColour(clWindow);
    setRedrawPending();
    emit stateChanged();
}

void tStatsLogsList::setRedrawPending() {
    context_.idle.redrawPending = true;
    context_.idleRequested();
}

} // namespace pln
