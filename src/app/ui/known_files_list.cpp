#include "app/ui/known_files_list.h"

#include "app/ui/list_support.h"
#include "emulefiles/core/known_met_record.h"
#include "logstore/core/log_codec.h"
#include "logstore/core/log_names.h"

#include <QAction>
#include <QItemSelectionModel>
#include <exception>

namespace pln {

namespace {

// A new known-file log: the recorder fills it with the file's counters.
const tLogHeader knownFileLogHeader{valueTypeKnownFile, 0, 1.0, ""};

} // namespace

tKnownFilesList::tKnownFilesList(tListView& view, tListContext context, QObject* parent)
    : tLogsList(view, new tKnownFilesModel(context.colours), std::move(context), parent) {
    view_.setColumnWidths({250, 60, 95, 75, 95, 70, 70, 120, 250, 100});
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
            model().fill(*list, context_.logFiles, filter, findShared);
            ok = true;
        } else {
            model().clear();
            failure = "known.met has not been read yet";
        }
    } catch (const std::exception& e) {
        model().clear();
        failure = e.what();
    }
    if (model().rowCount() > 0)
        view_.selectionModel()->setCurrentIndex(model().index(0, 0), QItemSelectionModel::NoUpdate);
    view_.restore(memory, rowKey());
    requestRedraw(true);
    emit stateChanged();
    return ok;
}

void tKnownFilesList::clear() {
    {
        BusyScope filling(filling_);
        model().clear();
    }
    requestRedraw(true);
    emit stateChanged();
}

std::vector<const tKnownMetRecord*> tKnownFilesList::selectedRecords() const {
    std::vector<const tKnownMetRecord*> records;
    for (std::size_t position : view_.selectedPositions())
        records.push_back(model().table().row(position).record);
    return records;
}

bool tKnownFilesList::switchable(std::size_t position) const {
    return model().table().row(position).record != nullptr;
}

const tLogHeader* tKnownFilesList::newLogHeader() const {
    return &knownFileLogHeader;
}

// The logs a deletion takes, a line each: the file's name and the log's.
std::string tKnownFilesList::logsNamed(const std::vector<std::size_t>& positions) const {
    std::string names;
    for (std::size_t position : positions) {
        const tKnownFileRow& row = model().table().row(position);
        if (row.logState == tLogState::none)
            continue;
        const std::string file = row.record ? row.record->getFileName() + " " : std::string();
        names += file + "(" + row.hashText + std::string(extensionOf(row.logState)) + ")\n";
    }
    return names;
}

const tKnownMetRecord* tKnownFilesList::selectedRecord() const {
    const std::vector<std::size_t> selected = view_.selectedPositions();
    return selected.size() == 1 ? model().table().row(selected.front()).record : nullptr;
}

bool tKnownFilesList::referenceEnabled(int which) const {
    const tKnownMetRecord* record = selectedRecord();
    return record &&
           (context_.colours.fileColour(record->hash.toString()) || referenceChecked(which));
}

bool tKnownFilesList::referenceChecked(int which) const {
    const tKnownMetRecord* record = selectedRecord();
    const tKnownMetRecord* reference = which == 1 ? model().reference1() : model().reference2();
    return record && record == reference;
}

void tKnownFilesList::setReference(int which, bool checked) {
    const tKnownMetRecord* first = model().reference1();
    const tKnownMetRecord* second = model().reference2();
    const tKnownMetRecord*& mine = which == 1 ? first : second;
    const tKnownMetRecord*& other = which == 1 ? second : first;
    mine = checked ? selectedRecord() : nullptr;
    if (mine && other == mine)
        other = nullptr;
    model().setReferences(first, second);
    requestRedraw(true);
    emit stateChanged();
}

void tKnownFilesList::resetReferences() {
    model().setReferences(nullptr, nullptr);
    requestRedraw(true);
    emit stateChanged();
}

bool tKnownFilesList::hasReference() const {
    return model().reference1() || model().reference2();
}

void tKnownFilesList::bindActions(const tMainActions& actions, tActionRefresh& refresh) {
    actions_ = &actions;
    connect(&refresh, &tActionRefresh::due, this, &tKnownFilesList::updateActions);
    connect(actions.aKFDelLog, &QAction::triggered, this, &tKnownFilesList::deleteSelectedLogs);
    connect(actions.aRefKF1, &QAction::triggered, this,
            [this](bool checked) { setReference(1, checked); });
    connect(actions.aRefKF2, &QAction::triggered, this,
            [this](bool checked) { setReference(2, checked); });
    connect(actions.aResetRef, &QAction::triggered, this, &tKnownFilesList::resetReferences);
}

void tKnownFilesList::updateActions() {
    const tMainActions& a = *actions_;
    a.aKFDelLog->setEnabled(canDeleteLog());
    a.aRefKF1->setEnabled(referenceEnabled(1));
    a.aRefKF1->setChecked(referenceChecked(1));
    a.aRefKF2->setEnabled(referenceEnabled(2));
    a.aRefKF2->setChecked(referenceChecked(2));
    a.aResetRef->setEnabled(hasReference());
}

} // namespace pln
