#include "app/ui/known_met_edit_command.h"

#include "app/ui/known_files_list.h"
#include "app/ui/list_view.h"
#include "app/ui/paged_text.h"
#include "common/error.h"
#include "kmedit/core/emule_running.h"
#include "kmedit/core/known_met_edits.h"
#include "kmedit/core/met_backup.h"
#include "kmedit/core/repair_km.h"
#include "links/ui/qt_file_dialogs.h"

#include <QAction>
#include <algorithm>

namespace pln {

namespace {

const char* const renameQuestion = "Before proceeding, you may want to backup known.met...";

// How long a look at the processes stands for the actions' state: longer
// than a drawing takes, short beside the time eMule takes to start.
constexpr std::int64_t seenRunningForMs = 1000;

std::string captionOf(const QAction& action) {
    return action.text().remove(QLatin1Char('&')).toStdString();
}

std::string fileNameOf(const std::string& path) {
    const std::size_t folderEnd = path.find_last_of("/\\");
    return folderEnd == std::string::npos ? path : path.substr(folderEnd + 1);
}

} // namespace

tKnownMetEditCommand::tKnownMetEditCommand(tKnownMetEditContext context,
                                           const tMainActions& actions, tActionRefresh& refresh,
                                           QObject* parent)
    : QObject(parent), context_(std::move(context)), actions_(actions), run_([](QDialog& dialog) {
          centreOnDesktop(dialog);
          return dialog.exec();
      }) {
    context_.knownFiles.model().setRenameHandler(
        [this](std::size_t position, const std::string& text) {
            const tKnownFileRow& row = context_.knownFiles.model().table().row(position);
            // The editor is still closing: the question waits for the next turn
            // of the event loop, and the row is found again by its record then.
            QMetaObject::invokeMethod(
                this,
                [this, record = row.record, hashText = row.hashText, text] {
                    knownFilesListEdited(record, hashText, text);
                },
                Qt::QueuedConnection);
        });
    connect(actions_.aKFRename, &QAction::triggered, this, &tKnownMetEditCommand::aKFRenameExecute);
    connect(actions_.aKFDelKnownFile, &QAction::triggered, this, [this] { delKnownFiles(false); });
    connect(actions_.aKFMoveToCancelledMet, &QAction::triggered, this,
            [this] { delKnownFiles(true); });
    connect(&refresh, &tActionRefresh::due, this, &tKnownMetEditCommand::updateActions);
}

tKnownMetEditState tKnownMetEditCommand::state(std::size_t selected, bool selectionShared) {
    tKnownMetEditState state;
    state.selected = selected;
    state.selectionShared = selectionShared;
    state.emuleRunning = emuleRunningLately();
    state.knownMetLoaded = context_.knownMet.list() != nullptr;
    state.reloadPending = context_.reloadPending();
    state.knownMetUnchanged = context_.knownMet.isUnchanged();
    return state;
}

// A clock set back makes the look stale at once.
bool tKnownMetEditCommand::emuleRunningLately() {
    return isEmuleRunning(
        context_.platform, context_.configFolder, [this](const std::string& port) {
            const std::int64_t now = context_.platform.clock.nowUnixMs();
            if (seenRunning_ && seenRunning_->port == port && now >= seenRunning_->seenAtMs &&
                now - seenRunning_->seenAtMs < seenRunningForMs)
                return seenRunning_->running;
            seenRunning_ = tSeenRunning{port, emuleSeenRunning(context_.platform, port), now};
            return seenRunning_->running;
        });
}

void tKnownMetEditCommand::updateActions() {
    const std::vector<std::size_t> positions = context_.knownFiles.selectedPositions();
    const tKnownFilesTable& table = context_.knownFiles.model().table();
    const bool shared = std::any_of(positions.begin(), positions.end(),
                                    [&](std::size_t p) { return table.row(p).shared; });
    const tKnownMetEditState current = state(positions.size(), shared);
    session_.forgetStaleBackups(current.knownMetUnchanged,
                                context_.platform.files.modificationStamp(cancelledMetPath()));
    actions_.aKFDelKnownFile->setEnabled(canRemoveKnownFiles(current));
    actions_.aKFMoveToCancelledMet->setEnabled(canRemoveKnownFiles(current));
    actions_.aKFRename->setEnabled(canRenameKnownFile(current));
    actions_.aRepairKM->setEnabled(canRepairKnownMet(current));
}

bool tKnownMetEditCommand::knownFilesListEditing(std::size_t position) {
    return canEditNameInPlace(isEmuleRunning(context_.platform, context_.configFolder),
                              context_.knownFiles.model().table().row(position).shared);
}

void tKnownMetEditCommand::aKFRenameExecute() {
    const std::vector<std::size_t> positions = context_.knownFiles.selectedPositions();
    if (positions.size() != 1 || !knownFilesListEditing(positions.front()))
        return;
    tListView& view = context_.knownFiles.view();
    const QModelIndex index = view.model()->index(static_cast<int>(positions.front()), 0);
    view.setCurrentIndex(index);
    view.edit(index);
}

tKnownFileRow* tKnownMetEditCommand::rowOf(const tKnownMetRecord* record,
                                           const std::string& hashText, int& position) {
    tKnownFilesModel& model = context_.knownFiles.model();
    position = model.positionOf(record);
    if (position < 0)
        return nullptr;
    tKnownFileRow& row = model.table().row(static_cast<std::size_t>(position));
    return row.hashText == hashText ? &row : nullptr;
}

// The load cycle may refill the list while a question is open, so the row
// is looked up again after each one.
void tKnownMetEditCommand::knownFilesListEdited(const tKnownMetRecord* record,
                                                const std::string& hashText,
                                                const std::string& text) {
    int position = -1;
    const tKnownFileRow* before = rowOf(record, hashText, position);
    if (!before)
        return;
    const std::string oldName = before->name;
    const std::string name = withoutForbiddenCharacters(text);
    if (name != text)
        context_.prompter.showWarning(forbiddenCharactersWarning);
    // An empty name would make an erroneous entry of a good file.
    if (name.empty() || name == oldName)
        return;
    bool deleteLog = false;
    if (!session_.knownMetBackedUp() && !session_.dontAsk(tKnownMetEdit::rename) &&
        !confirm({captionOf(*actions_.aKFRename), renameQuestion, false, false},
                 tKnownMetEdit::rename, deleteLog))
        return;
    if (!stillEditable())
        return;
    try {
        if (!renameKnownFile(context_.knownMet, hashText, name, record))
            return;
    } catch (const Error& e) {
        failed(e.what());
        return;
    }
    if (tKnownFileRow* row = rowOf(record, hashText, position)) {
        row->name = name;
        context_.knownFiles.model().rowChanged(static_cast<std::size_t>(position));
    } else {
        context_.rebuildList();
    }
    context_.idle.requestTags();
}

void tKnownMetEditCommand::delKnownFiles(bool cancelled) {
    const QAction& action = cancelled ? *actions_.aKFMoveToCancelledMet : *actions_.aKFDelKnownFile;
    const tKnownMetEdit edit = cancelled ? tKnownMetEdit::setCancelled : tKnownMetEdit::setUnknown;
    const std::string question =
        cancelled ? "Do you really want to set the selected item(s) as cancelled file(s)?"
                  : "Do you really want to set the selected item(s) as unknown file(s)?";
    // Taken before the question: the list may be refilled while it is open.
    std::vector<std::string> hashTexts;
    const tKnownFilesTable& table = context_.knownFiles.model().table();
    for (std::size_t position : context_.knownFiles.selectedPositions())
        hashTexts.push_back(table.row(position).hashText);
    // Without a question the user's last choice about the logs holds.
    bool deleteLog = session_.deleteLog();
    // Without a cancelled.met (eMule writes it at the first cancel) there is
    // nothing to back up.
    const bool cancelledBackup =
        cancelled && context_.platform.files.fileExists(cancelledMetPath());
    if (!session_.dontAsk(edit) &&
        !confirm({captionOf(action), question, cancelledBackup, true}, edit, deleteLog))
        return;
    if (!stillEditable())
        return;
    std::unique_ptr<tCancelledMet> cancelledMet;
    if (cancelled) {
        cancelledMet = std::make_unique<tCancelledMet>(cancelledMetPath(), context_.platform.files);
        try {
            cancelledMet->load();
        } catch (const Error& e) {
            context_.prompter.showError(e.what());
            return;
        }
    }
    try {
        forgetKnownFiles(context_.knownMet, hashTexts,
                         {cancelledMet.get(), deleteLog ? &context_.logFiles : nullptr});
    } catch (const Error& e) {
        // No row may stay on a record that is gone.
        context_.rebuildList();
        failed(e.what());
        return;
    }
    context_.rebuildList();
    context_.idle.requestRedraw();
    context_.idle.requestTags();
}

bool tKnownMetEditCommand::confirm(const tConfirmKMEditRequest& request, tKnownMetEdit edit,
                                   bool& deleteLog) {
    return confirmKMEdit(
        &context_.window, request, edit, session_, deleteLog,
        [this](bool cancelled) { return backupMet(cancelled); }, run_);
}

bool tKnownMetEditCommand::stillEditable() {
    if (isEmuleRunning(context_.platform, context_.configFolder)) {
        context_.prompter.showError(emuleRunningMessage);
        return false;
    }
    if (!context_.knownMet.isUnchanged()) {
        context_.prompter.showError(knownMetModifiedMessage);
        return false;
    }
    return true;
}

bool tKnownMetEditCommand::backupMet(bool cancelled) {
    const std::string source = cancelled ? cancelledMetPath() : context_.knownMet.fileName();
    const QString target = QtFileDialogs::getSaveFileName(
        &context_.window,
        QString::fromStdString(format("Backup your %s file as", {fileNameOf(source)})),
        {QStringLiteral("Backup files (*.~met *.bak)"), QStringLiteral("Any file (*)")},
        QStringLiteral("~met"), QString::fromStdString(backupProposal(source)));
    if (target.isEmpty())
        return false;
    try {
        copyBackup(source, target.toStdString());
    } catch (const Error&) {
        context_.prompter.showWarning(backupFailedText);
        return false;
    }
    if (cancelled)
        session_.noteCancelledMetBackup(context_.platform.files.modificationStamp(source));
    else
        session_.noteKnownMetBackup();
    return true;
}

void tKnownMetEditCommand::failed(const std::string& message) {
    context_.reload();
    context_.prompter.showError(message);
}

} // namespace pln
