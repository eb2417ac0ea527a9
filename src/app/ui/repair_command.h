#pragma once

#include "app/ui/known_met_edit_command.h"
#include "kmedit/core/repair_km.h"
#include "logstore/core/recorder_link.h"

#include <functional>
#include <optional>

class QAction;
class QDialog;

namespace pln {

// The "Repair known.met" command. The dialog collects the operations; the
// recorder is then asked to pause, and the operations run as the task of
// its answer, so that no log is appended to while it is rewritten. (Without
// a recorder they run at once.) The recorder is resumed when the task ends,
// whether the repair succeeded or failed.
class tRepairCommand : public QObject {
public:
    // Runs on the action, which the edit command enables with its own.
    tRepairCommand(tKnownMetEditContext context, QAction& action, tKnownMetEditCommand& edits,
                   tRecorderLink& recorder);

    // aRepairKMExecute.
    void execute();
    // repairKnownMet: the task of the recorder's answer.
    void repairKnownMet();

    // Tests answer the dialog instead of a user.
    void setDialogRunner(std::function<int(QDialog&)> run) { run_ = std::move(run); }

private:
    std::optional<std::string> refusal();
    void showSummary(const tRepairOutcome& outcome);
    void readBack();

    tKnownMetEditContext context_;
    tKnownMetEditCommand& edits_;
    tRecorderLink& recorder_;
    std::function<int(QDialog&)> run_;
    // The operations confirmed in the dialog, until the recorder answers.
    std::optional<tRepairOptions> pending_;
};

} // namespace pln
