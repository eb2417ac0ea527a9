#pragma once

#include "kmedit/core/edit_guard.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

namespace Ui {
class tConfirmKMEditForm;
}

namespace pln {

// What one confirmation asks.
struct tConfirmKMEditRequest {
    // The command's caption without "&".
    std::string caption;
    std::string text;
    // Set as cancelled with a cancelled.met on disk: it may be backed up too.
    bool cancelledMode = false;
    // The delete-log box is offered.
    bool offerDeleteLog = false;
};

// Makes a backup copy of known.met (false) or cancelled.met (true); true
// when the copy was made.
using tBackupMet = std::function<bool(bool cancelled)>;

// The question asked before known.met is edited, with buttons that back up
// the files first and the session's choices about logs and asking again.
class tConfirmKMEditForm : public QDialog {
    Q_OBJECT

public:
    tConfirmKMEditForm(QWidget* parent, const tConfirmKMEditRequest& request,
                       const tKnownMetEditSession& session, tBackupMet backup);
    ~tConfirmKMEditForm() override;

    bool deleteLogChecked() const;
    bool dontAskChecked() const;

private:
    void runBackup(bool cancelled);

    std::unique_ptr<Ui::tConfirmKMEditForm> ui_;
    tBackupMet backup_;
};

// Shows the form through run (which returns the dialog's result) and
// applies the answer: the delete-log choice, when offered, goes to deleteLog
// and is remembered; the do-not-ask flag of the edit is recorded whatever
// the button. True when the user pressed Ok.
using tRunDialog = std::function<int(QDialog& dialog)>;
bool confirmKMEdit(QWidget* parent, const tConfirmKMEditRequest& request, tKnownMetEdit edit,
                   tKnownMetEditSession& session, bool& deleteLog, const tBackupMet& backup,
                   const tRunDialog& run);

// "Backup &known.met..." or "Backup &cancelled.met...", with " (Done)" once
// the file was backed up in this session.
QString backupCaption(bool cancelled, bool done);

} // namespace pln
