#include "app/ui/logs_list.h"

#include "app/core/log_switch.h"
#include "app/ui/list_support.h"

#include <QCoreApplication>
#include <QItemSelectionModel>
#include <algorithm>
#include <exception>

namespace pln {

namespace {

constexpr const char* confirmDeleteSelectedLogs =
    "Do you really want to delete the log file(s) of the selected item(s)?";
constexpr const char* confirmDeleteThisLog =
    "Do you really want to delete the log file of this item?";

} // namespace

tLogsList::tLogsList(tListView& view, tLogsTableModel* model, tListContext context, QObject* parent)
    : QObject(parent), view_(view), context_(std::move(context)), model_(*model) {
    model->setParent(this);
    view_.setModel(model);
    connect(model, &tLogsTableModel::checkToggled, this, &tLogsList::onCheckItem);
    connect(&view_, &tListView::headerClicked, model, &tLogsTableModel::columnClick);
    connect(&view_, &tListView::headerRightClicked, model, &tLogsTableModel::columnRightClick);
    connect(view_.selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &tLogsList::selectionChanged);
}

tRowKey tLogsList::rowKey() const {
    return [this](int row) {
        const bool shown = row >= 0 && row < model_.rowCount();
        return shown ? QString::fromStdString(model_.table().logName(static_cast<std::size_t>(row)))
                     : QString();
    };
}

std::vector<std::size_t> tLogsList::selectedPositions() const {
    return view_.selectedPositions();
}

void tLogsList::onCheckItem(std::size_t clicked, bool ticked) {
    if (busy_ || clicked >= model_.table().count() || !switchable(clicked))
        return;
    // Ctrl turns unticking into deleting; the tick itself stays.
    if (!ticked && ctrlHeld()) {
        if (view_.selectionModel()->isRowSelected(static_cast<int>(clicked), {}))
            deleteSelectedLogs();
        else
            deleteThisLog(clicked);
        return;
    }
    BusyScope busy(busy_);
    switchLogs(clicked, ticked);
    emit stateChanged();
}

// A row whose log cannot be switched keeps the log it had; the failures are
// told together once every row has been tried.
void tLogsList::switchLogs(std::size_t clicked, bool ticked) {
    bool created = false;
    std::string failures;
    for (std::size_t position : view_.actedOn(clicked)) {
        if (model_.ticked(position) == ticked && position != clicked)
            continue;
        try {
            created |= switchLog(context_.logFiles, model_.table().logName(position), ticked,
                                 newLogHeader());
        } catch (const std::exception& e) {
            failures += (failures.empty() ? "" : "\n") + std::string(e.what());
        }
        // Also a failed row is shown again: the view ticked it already.
        model_.rowChanged(position);
    }
    if (!failures.empty())
        context_.prompter.showError(failures);
    if (created)
        context_.recorder.broadcastNewLogs();
}

void tLogsList::deleteSelectedLogs() {
    const std::vector<std::size_t> positions = view_.selectedPositions();
    if (busy_ || !context_.prompter.confirmAction(confirmDeleteSelectedLogs, logsNamed(positions)))
        return;
    deleteLogs(positions);
}

void tLogsList::deleteThisLog(std::size_t position) {
    if (busy_ || !context_.prompter.confirmAction(confirmDeleteThisLog, logsNamed({position})))
        return;
    deleteLogs({position});
}

void tLogsList::deleteLogs(std::vector<std::size_t> positions) {
    BusyScope busy(busy_);
    // From the last row up, so that the positions still to do stay valid.
    std::sort(positions.rbegin(), positions.rend());
    for (std::size_t position : positions) {
        const std::string name = model_.table().logName(position);
        const tLogState state = context_.logFiles.getLogState(name);
        if (state == tLogState::none || state == tLogState::permanent)
            continue;
        context_.logFiles.setLogState(name, tLogState::none);
        logDeleted(position);
    }
    requestRedraw();
    emit stateChanged();
}

bool tLogsList::canDeleteLog() const {
    for (std::size_t position : view_.selectedPositions()) {
        const tLogState state = model_.table().logState(position);
        if (state == tLogState::inactive || state == tLogState::active)
            return true;
    }
    return false;
}

void tLogsList::selectionChanged() {
    if (filling_ || QCoreApplication::closingDown())
        return;
    requestRedraw(selectionShowsTags());
    // A row leaving the list during a deletion has lost its log already: the
    // deletion tells of the new state once it is done.
    if (busy_)
        return;
    selectionMade();
    emit stateChanged();
}

void tLogsList::requestRedraw(bool tags) {
    context_.idle.requestRedraw();
    if (tags)
        context_.idle.requestTags();
}

} // namespace pln
