#pragma once

#include "platform/file_system.h"

#include <array>
#include <cstddef>
#include <optional>

namespace pln {

// What the editing commands of known.met depend on, gathered when the
// actions are brought up to date.
struct tKnownMetEditState {
    std::size_t selected = 0;
    // A selected file is shared by eMule right now.
    bool selectionShared = false;
    bool emuleRunning = true;
    bool knownMetLoaded = false;
    // The load cycle has a reload scheduled.
    bool reloadPending = false;
    // known.met on disk is still the file that was loaded or last saved.
    bool knownMetUnchanged = false;
};

// Set as unknown, set as cancelled: a selection of files eMule does not share.
bool canRemoveKnownFiles(const tKnownMetEditState& state);
// Rename: exactly one file, not shared.
bool canRenameKnownFile(const tKnownMetEditState& state);
// Repair: needs no selection.
bool canRepairKnownMet(const tKnownMetEditState& state);
// In-place editing of a name may start.
bool canEditNameInPlace(bool emuleRunning, bool itemShared);

enum class tKnownMetEdit { rename, setUnknown, setCancelled };

// The choices and backups of this session; nothing of it is stored.
class tKnownMetEditSession {
public:
    bool knownMetBackedUp() const { return knownMetBackedUp_; }
    bool cancelledMetBackedUp() const { return cancelledMetBackedUp_; }
    void noteKnownMetBackup() { knownMetBackedUp_ = true; }
    // With cancelled.met's stamp right after the copy.
    void noteCancelledMetBackup(std::optional<FileStamp> stamp);
    // A backup no longer counts once its file changed: known.met when it
    // differs from what was loaded, cancelled.met when its stamp moved.
    void forgetStaleBackups(bool knownMetUnchanged, std::optional<FileStamp> cancelledMetStamp);

    bool dontAsk(tKnownMetEdit edit) const { return dontAsk_[static_cast<std::size_t>(edit)]; }
    void setDontAsk(tKnownMetEdit edit, bool value) {
        dontAsk_[static_cast<std::size_t>(edit)] = value;
    }

    // The remembered state of the delete-log box.
    bool deleteLog() const { return deleteLog_; }
    void setDeleteLog(bool value) { deleteLog_ = value; }

private:
    bool knownMetBackedUp_ = false;
    bool cancelledMetBackedUp_ = false;
    std::optional<FileStamp> cancelledMetStamp_;
    std::array<bool, 3> dontAsk_{};
    bool deleteLog_ = true;
};

} // namespace pln
