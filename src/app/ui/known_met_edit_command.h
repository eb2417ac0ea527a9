#pragma once

#include "app/ui/action_refresh.h"
#include "app/ui/idle_work.h"
#include "app/ui/main_actions.h"
#include "common/prompter.h"
#include "emulefiles/core/known_met.h"
#include "kmedit/core/edit_guard.h"
#include "kmedit/ui/confirm_km_edit_form.h"
#include "logstore/core/log_files.h"
#include "platform/platform.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace pln {

struct tKnownFileRow;
class tKnownFilesList;

// What the editing commands need of the main window.
struct tKnownMetEditContext {
    QWidget& window;
    Platform& platform;
    tKnownMet& knownMet;
    tLogFiles& logFiles;
    tKnownFilesList& knownFiles;
    Prompter& prompter;
    tIdleWork& idle;
    // Ends with a separator.
    std::string configFolder;
    std::function<bool()> reloadPending;
    // aKFReload: the load cycle brings the list back in line with the disk.
    std::function<void()> reload;
    // Refills the known files list from known.met in memory, at once.
    std::function<void()> rebuildList;
};

// The guarded edits of known.met from the known files list: rename in place,
// set as unknown, set as cancelled, with the confirmation and the backups of
// the session.
class tKnownMetEditCommand : public QObject {
    Q_OBJECT

public:
    // Serves the edit actions and enables them, with the repair's, on each
    // refresh.
    tKnownMetEditCommand(tKnownMetEditContext context, const tMainActions& actions,
                         tActionRefresh& refresh, QObject* parent = nullptr);
    // aKFRenameExecute: in-place editing of the selected name.
    void aKFRenameExecute();
    // aKFDelKnownFileExecute (false) and aKFMoveToCancelledMetExecute (true).
    void delKnownFiles(bool cancelled);
    // The backup copy with its save dialog; true when the file was copied.
    bool backupMet(bool cancelled);

    const tKnownMetEditSession& session() const { return session_; }
    // Tests answer the confirmation instead of a user.
    void setDialogRunner(tRunDialog run) { run_ = std::move(run); }

private:
    // editKnownMetActionsUpdate, aKFRenameUpdate and aRepairKMUpdate.
    void updateActions();
    tKnownMetEditState state(std::size_t selected, bool selectionShared);
    // Whether eMule runs, for the actions' state only. A selection updates
    // them once per row and again once its drawing is done, so the look at
    // every process is reused for a moment; the quick checks are made each
    // time.
    bool emuleRunningLately();
    bool knownFilesListEditing(std::size_t position);
    // The row of the record, if the list still shows it.
    tKnownFileRow* rowOf(const tKnownMetRecord* record, const std::string& hashText, int& position);
    void knownFilesListEdited(const tKnownMetRecord* record, const std::string& hashText,
                              const std::string& text);
    // eMule may have started, or known.met changed, while a question was open.
    bool stillEditable();
    bool confirm(const tConfirmKMEditRequest& request, tKnownMetEdit edit, bool& deleteLog);
    std::string cancelledMetPath() const { return context_.configFolder + "cancelled.met"; }
    void failed(const std::string& message);

    tKnownMetEditContext context_;
    const tMainActions& actions_;
    tKnownMetEditSession session_;
    tRunDialog run_;
    struct tSeenRunning {
        std::string port;
        bool running = false;
        std::int64_t seenAtMs = 0;
    };
    std::optional<tSeenRunning> seenRunning_;
};

} // namespace pln
