#pragma once

#include "emulefiles/core/known_met_list.h"
#include "platform/clock.h"
#include "platform/file_system.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace pln {

// eMule's known.met: the record list read from it and the file stamp that
// tells whether the file changed since. eMule rewrites the file while it
// runs, so a load is retried until the file has been stable for a while.
class tKnownMet {
public:
    tKnownMet(std::string fileName, FileSystem& files, Clock& clock);

    const std::string& fileName() const { return fileName_; }
    // Null until a load succeeds and after a failed load.
    tKnownMetList* list() { return list_.get(); }
    const tKnownMetList* list() const { return list_.get(); }
    // The version byte last read or written.
    std::uint8_t version() const { return version_; }
    // The file's stamp at the last successful load or save; empty before the
    // first load and after a failed load or save.
    std::optional<FileStamp> fileAge() const { return fileAge_; }

    // Reads the whole file and replaces the list. On failure the list is
    // absent and the error propagates: the system's reason when the file
    // cannot be read, "The "%s" file has been modified while trying to read
    // it." when its stamp changed during the read, or the parsing error.
    void load();
    // Writes the list in list order through a temporary file renamed over
    // known.met, so a failure leaves the file as it was. Throws "An error
    // occurred while saving known.met: %s"; after a failure fileAge is empty,
    // so the next load cycle brings the list back in line with the disk.
    void save();
    // Whether the load cycle should read the file: when there is no list or
    // the file's stamp differs from fileAge, and the stamp is more than
    // 2000 ms away from now (eMule may still be writing). A missing file
    // answers true, so the load is tried and fails.
    bool needsReload();
    // Whether the list exists and the file has not changed since it was
    // loaded or saved.
    bool isUnchanged();

private:
    std::string fileName_;
    FileSystem& files_;
    Clock& clock_;
    std::unique_ptr<tKnownMetList> list_;
    std::uint8_t version_ = 0;
    std::optional<FileStamp> fileAge_;
};

} // namespace pln
