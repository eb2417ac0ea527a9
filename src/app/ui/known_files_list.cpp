#include "app/ui/known_files_list.h"

#include "app/ui/list_support.h"
#include "app/ui/list_view.h"
#include "emulefiles/core/known_met_record.h"
#include "logstore/core/log_names.h"

#include <QGuiApplication>
#include <QItemSelectionModel>
#include <algorithm>
#include <exception>

namespace pln {

namespace {

// A new known-file log: the recorder fills it with the file's counters.
const tLogHeader knownFileLogHeader{valueTypeKnownFile, 0, 1.0, ""};

} // namespace

tKnownFilesList::tKnownFilesList(tListView& view, tListContext context, QObject* parent)
    : QObject(parent), view_(view), context_(std::move(context)),
      model_(new tKnownFilesModel(this)) {
    view_.setModel(model_);
    view_.setColumnWidths({250, 60, 95, 75, 95, 70, 70, 120, 250, 100});
    model_->setCheckHandler(
        [this](std::size_t position, bool ticked) { onCheckItem(position, ticked); });
    connect(&view_, &tListView::headerClicked, model_, &tKnownFilesModel::columnClick);
    connect(&view_, &tListView::headerRightClicked, model_, &tKnownFilesModel::columnRightClick);
    connect(view_.selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &tKnownFilesList::selectionChanged);
}

bool tKnownFilesList::knownMetLoaded(tKnownMetList* list, tKnownFilesFilter filter,
                                     const tSharedLookup& findShared, std::string& failure) {
    BusyScope filling(filling_);
    // A refill shows the same files as they are now: the selection is found
    // again by hash, and the graphs come back.
    const tListMemory memory = view_.remember(rowKey());
    bool ok = false;
    try {
        if (list) {
            model_->fill(*list, context_.logFiles, filter, findShared);
            ok = true;
        } else {
            model_->clear();
            failure = "known.met has not been read yet";
        }
    } catch (const std::exception& e) {
        model_->clear();
        failure = e.what();
    }
    if (model_->rowCount() > 0)
        view_.selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::NoUpdate);
    view_.restore(memory, rowKey());
    setPending(true);
    emit stateChanged();
    return ok;
}

void tKnownFilesList::clear() {
    {
        BusyScope filling(filling_);
        model_->clear();
    }
    setPending(true);
    emit stateChanged();
}

tRowKey tKnownFilesList::rowKey() const {
    return [this](int row) {
        return QString::fromStdString(model_->table().row(static_cast<std::size_t>(row)).hashText);
    };
}

std::vector<const tKnownMetRecord*> tKnownFilesList::selectedRecords() const {
    std::vector<const tKnownMetRecord*> records;
    for (std::size_t position : view_.selectedPositions())
        records.push_back(model_->table().row(position).record);
    return records;
}

std::vector<std::size_t> tKnownFilesList::selectedPositions() const {
    return view_.selectedPositions();
}

void tKnownFilesList::onCheckItem(std::size_t clicked, bool ticked) {
    if (busy_ || !rowAt(clicked).record)
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
    const std::vector<std::size_t> rows = view_.actedOn(clicked);
    bool created = false;
    if (!ticked) {
        for (std::size_t position : rows) {
            tKnownFileRow& row = rowAt(position);
            if (row.logState != tLogState::active && position != clicked)
                continue;
            context_.logFiles.setLogState(row.hashText, tLogState::inactive);
            row.logState = tLogState::inactive;
            model_->rowChanged(position);
        }
    } else {
        created = activateLogs(rows, clicked);
    }
    if (created)
        context_.recorder.broadcastNewLogs();
    emit stateChanged();
}

// A row whose new log cannot be written keeps no log; the failures are
// told together once every row has been tried.
bool tKnownFilesList::activateLogs(const std::vector<std::size_t>& rows, std::size_t clicked) {
    bool created = false;
    std::string failures;
    for (std::size_t position : rows) {
        tKnownFileRow& row = rowAt(position);
        if (row.logState == tLogState::active && position != clicked)
            continue;
        try {
            if (context_.logFiles.getLogState(row.hashText) == tLogState::none) {
                context_.logFiles.writeNewLogFile(row.hashText, tLogState::active,
                                                  knownFileLogHeader);
                created = true;
            }
            context_.logFiles.setLogState(row.hashText, tLogState::active);
            row.logState = tLogState::active;
        } catch (const std::exception& e) {
            failures += (failures.empty() ? "" : "\n") + std::string(e.what());
        }
        // Also a failed row is shown again: the view ticked it already.
        model_->rowChanged(position);
    }
    if (!failures.empty())
        context_.prompter.showError(failures);
    return created;
}

void tKnownFilesList::deleteSelectedLogs() {
    const std::vector<std::size_t> positions = view_.selectedPositions();
    if (busy_ || !context_.prompter.confirmAction(confirmDeleteSelectedLogs, logsNamed(positions)))
        return;
    deleteLogs(positions);
}

void tKnownFilesList::deleteThisLog(std::size_t position) {
    if (busy_ || !context_.prompter.confirmAction(confirmDeleteThisLog, logsNamed({position})))
        return;
    deleteLogs({position});
}

// The logs a deletion takes, a line each: the file's name and the log's.
std::string tKnownFilesList::logsNamed(const std::vector<std::size_t>& positions) {
    std::string names;
    for (std::size_t position : positions) {
        const tKnownFileRow& row = rowAt(position);
        if (row.logState == tLogState::none)
            continue;
        const std::string file = row.record ? row.record->getFileName() + " " : std::string();
        names += file + "(" + row.hashText + std::string(extensionOf(row.logState)) + ")\n";
    }
    return names;
}

void tKnownFilesList::deleteLogs(const std::vector<std::size_t>& positions) {
    BusyScope busy(busy_);
    for (std::size_t position : positions) {
        tKnownFileRow& row = rowAt(position);
        context_.logFiles.setLogState(row.hashText, tLogState::none);
        row.logState = tLogState::none;
        model_->rowChanged(position);
    }
    context_.idle.redrawPending = true;
    context_.idleRequested();
    emit stateChanged();
}

bool tKnownFilesList::canDeleteLog() const {
    for (std::size_t position : view_.selectedPositions())
        if (model_->table().row(position).logState != tLogState::none)
            return true;
    return false;
}

bool tKnownFilesList::referenceEnabled(int which) const {
    const std::vector<std::size_t> selected = view_.selectedPositions();
    if (selected.size() != 1)
        return false;
    const tKnownMetRecord* record = model_->table().row(selected.front()).record;
    return record && (record->graphColor != clWindow || referenceChecked(which));
}

bool tKnownFilesList::referenceChecked(int which) const {
    const std::vector<std::size_t> selected = view_.selectedPositions();
    if (selected.size() != 1)
        return false;
    const tKnownMetRecord* reference = which == 1 ? model_->reference1() : model_->reference2();
    return reference && model_->table().row(selected.front()).record == reference;
}

void tKnownFilesList::setReference(int which, bool checked) {
    const std::vector<std::size_t> selected = view_.selectedPositions();
    const tKnownMetRecord* record =
        selected.size() == 1 ? model_->table().row(selected.front()).record : nullptr;
    const tKnownMetRecord* first = model_->reference1();
    const tKnownMetRecord* second = model_->reference2();
    const tKnownMetRecord*& mine = which == 1 ? first : second;
    const tKnownMetRecord*& other = which == 1 ? second : first;
    mine = checked ? record : nullptr;
    if (mine && other == mine)
        other = nullptr;
    model_->setReferences(first, second);
    setPending(true);
    emit stateChanged();
}

void tKnownFilesList::resetReferences() {
    model_->setReferences(nullptr, nullptr);
    setPending(true);
    emit stateChanged();
}

bool tKnownFilesList::hasReference() const {
    return model_->reference1() || model_->reference2();
}

void tKnownFilesList::selectionChanged(const QItemSelection& selected,
                                       const QItemSelection& deselected) {
    if (filling_ || QCoreApplication::closingDown())
        return;
    for (const QItemSelection* change : {&selected, &deselected})
        for (const QModelIndex& index : change->indexes())
            if (index.column() == 0)
                if (tKnownMetRecord* record = model_->recordAt(index.row()))
                    record->graphColor = clWindow;
    setPending(true);
    emit stateChanged();
}

void tKnownFilesList::setPending(bool tags) {
    context_.idle.redrawPending = true;
    if (tags)
        context_.idle.tagsPending = true;
    context_.idleRequested();
}

} // namespace pln
