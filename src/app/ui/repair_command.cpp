#include "app/ui/repair_command.h"

#include "app/ui/busy_cursor.h"
#include "app/ui/known_files_list.h"
#include "app/ui/paged_text.h"
#include "kmedit/core/emule_running.h"
#include "kmedit/ui/repair_km_form.h"

#include <QAction>
#include <QMainWindow>
#include <QStatusBar>
#include <exception>

namespace pln {

tRepairCommand::tRepairCommand(tKnownMetEditContext context, QAction& action,
                               tKnownMetEditCommand& edits, tRecorderLink& recorder)
    : QObject(&context.window), context_(std::move(context)), edits_(edits), recorder_(recorder),
      run_([](QDialog& dialog) {
          centreOnDesktop(dialog);
          return dialog.exec();
      }) {
    connect(&action, &QAction::triggered, this, &tRepairCommand::execute);
}

std::optional<std::string> tRepairCommand::refusal() {
    return repairRefusal(isEmuleRunning(context_.platform, context_.configFolder),
                         context_.knownMet.isUnchanged());
}

void tRepairCommand::execute() {
    std::optional<tTaskHold> hold(std::in_place, recorder_);
    tRepairKMForm form(&context_.window,
                       {context_.knownMet.fileName(), context_.prompter,
                        edits_.session().knownMetBackedUp(),
                        [this](bool cancelled) { return edits_.backupMet(cancelled); },
                        [this] { return refusal(); }});
    if (run_(form) != QDialog::Accepted)
        return;
    pending_ = form.options();
    hold.reset();
    recorder_.suspend(repairTask);
}

// The list lets go of the records before they change, and shows them again
// afterwards; after a failure what is on disk is read back.
void tRepairCommand::repairKnownMet() {
    if (!pending_)
        return;
    const tRepairOptions options = *std::exchange(pending_, std::nullopt);
    // eMule may have started, or known.met changed, while the recorder was asked.
    if (std::optional<std::string> refused = refusal()) {
        context_.prompter.showError(*refused);
        return;
    }
    tRepairContext repair{context_.knownMet, context_.logFiles, context_.platform.files,
                          context_.platform.clock};
    std::optional<std::string> failure;
    {
        BusyCursor hourglass;
        context_.knownFiles.clear();
        try {
            const tRepairOutcome outcome = pln::repairKnownMet(repair, options);
            context_.rebuildList();
            showSummary(outcome);
            if (outcome.any()) {
                context_.idle.requestRedraw();
                context_.idle.requestTags();
            }
        } catch (const std::exception& e) {
            failure = e.what();
            readBack();
        }
    }
    if (failure)
        context_.prompter.showError(*failure);
}

// What the repair did stays in the status bar until the next message.
void tRepairCommand::showSummary(const tRepairOutcome& outcome) {
    auto* window = qobject_cast<QMainWindow*>(&context_.window);
    if (!window)
        return;
    window->statusBar()->showMessage(
        QStringLiteral("Repair: %1 record(s) imported, %2 repaired, %3 deleted.")
            .arg(outcome.added())
            .arg(outcome.repaired)
            .arg(outcome.deleted));
}

// known.met in memory may hold changes that were not saved.
void tRepairCommand::readBack() {
    try {
        context_.knownMet.load();
    } catch (const std::exception&) {
        // The load cycle retries until known.met can be read.
    }
    context_.rebuildList();
    context_.reload();
}

} // namespace pln
