#include "app/ui/stats_logs_list.h"

#include "app/ui/list_support.h"
#include "app/ui/list_view.h"
#include "common/missing_value.h"
#include "logstore/core/log_file.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QScrollBar>
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
    view_.installEventFilter(this);
    connect(view_.selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { memory_ = view_.remember(rowKey()); });
}

tRowKey tStatsLogsList::rowKey() const {
    return [this](int row) {
        const tLogFile* log = model_->logAt(row);
        return log ? QString::fromStdString(log->name()) : QString();
    };
}

// The rows' logs are gone with the last catalogue: what was selected is
// known by the names remembered at each change.
void tStatsLogsList::logFilesLoaded() {
    memory_.vertical = view_.verticalScrollBar()->value();
    memory_.horizontal = view_.horizontalScrollBar()->value();
    const tListMemory memory = memory_;
    model_->fill(context_.logFiles);
    if (model_->rowCount() > 0)
        view_.selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::NoUpdate);
    view_.restore(memory, rowKey());
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
    const std::vector<std::size_t> positions = view_.selectedPositions();
    if (busy_ || !context_.prompter.confirmAction(confirmDeleteSelectedLogs, logsNamed(positions)))
        return;
    deleteLogs(positions);
}

void tStatsLogsList::deleteThisLog(std::size_t position) {
    if (busy_ || !context_.prompter.confirmAction(confirmDeleteThisLog, logsNamed({position})))
        return;
    deleteLogs({position});
}

// The logs a deletion takes, a line each; permanent logs stay.
std::string tStatsLogsList::logsNamed(const std::vector<std::size_t>& positions) const {
    std::string names;
    for (std::size_t position : positions) {
        const tStatsLogRow& row = model_->table().row(position);
        if (row.state != tLogState::permanent)
            names += row.log->displayName() + "\n";
    }
    return names;
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
    if (!busy_)
        memory_ = view_.remember(rowKey());
    setRedrawPending();
    emit stateChanged();
}

void tStatsLogsList::setRedrawPending() {
    context_.idle.redrawPending = true;
    context_.idleRequested();
}

} // namespace pln
