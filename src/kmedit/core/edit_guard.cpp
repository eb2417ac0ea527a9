#include "kmedit/core/edit_guard.h"

namespace pln {

namespace {

bool knownMetEditable(const tKnownMetEditState& state) {
    return !state.emuleRunning && state.knownMetLoaded && !state.reloadPending &&
           state.knownMetUnchanged;
}

} // namespace

bool canRemoveKnownFiles(const tKnownMetEditState& state) {
    return state.selected > 0 && !state.selectionShared && knownMetEditable(state);
}

bool canRenameKnownFile(const tKnownMetEditState& state) {
    return state.selected == 1 && !state.selectionShared && knownMetEditable(state);
}

bool canRepairKnownMet(const tKnownMetEditState& state) {
    return knownMetEditable(state);
}

bool canEditNameInPlace(bool emuleRunning, bool itemShared) {
    return !emuleRunning && !itemShared;
}

void tKnownMetEditSession::noteCancelledMetBackup(std::optional<FileStamp> stamp) {
    cancelledMetBackedUp_ = true;
    cancelledMetStamp_ = stamp;
}

void tKnownMetEditSession::forgetStaleBackups(bool knownMetUnchanged,
                                              std::optional<FileStamp> cancelledMetStamp) {
    if (!knownMetUnchanged)
        knownMetBackedUp_ = false;
    if (cancelledMetStamp != cancelledMetStamp_)
        cancelledMetBackedUp_ = false;
}

} // namespace pln
