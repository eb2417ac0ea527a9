#include "app/core/load_cycle.h"

#include <exception>

namespace pln {

bool loadEmuleFiles(tKnownMet& knownMet, std::string& failure) {
    if (knownMet.needsReload()) {
        try {
            knownMet.load();
        } catch (const std::exception& e) {
            failure = e.what();
            return false;
        }
    }
    // A file still settling is left for a later cycle, which keeps the list
    // loaded before; with nothing loaded yet there is nothing to show.
    if (knownMet.list() == nullptr) {
        failure = knownMetSettlingText;
        return false;
    }
    return true;
}

bool loadSharedFolders(tSharedFolders& folders, std::string& failure) {
    bool ok = true;
    auto note = [&](bool loaded, const std::string& reason) {
        if (!loaded && ok) {
            failure = reason;
            ok = false;
        }
    };
    if (folders.incomingDirChanged()) {
        folders.loadIncomingDir();
        note(folders.incomingDirLoaded(),
             folders.preferencesPath() + ": no IncomingDir in section eMule");
    }
    if (folders.sharedDirsChanged()) {
        folders.loadSharedDirs();
        note(folders.sharedDirsLoaded(), folders.sharedDirsPath() + ": " + folders.lastDatError());
    }
    if (folders.sharedFilesChanged()) {
        folders.loadSharedFiles();
        note(folders.sharedFilesLoaded(),
             folders.sharedFilesPath() + ": " + folders.lastDatError());
    }
    if (folders.categoriesChanged()) {
        folders.loadCategories();
        note(folders.categoriesLoaded(), folders.categoriesPath() + ": changed while it was read");
    }
    return ok;
}

} // namespace pln
