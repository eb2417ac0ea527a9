#pragma once

#include "logstore/core/instants_cache.h"
#include "logstore/core/log_codec.h"
#include "logstore/core/log_file.h"
#include "logstore/core/log_store_context.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

// The catalogue of every log of the logs folder: one entry per name, names
// compared without regard to case, kept sorted the same way. The catalogue
// owns its tLogFile objects; a scan replaces them all, so references taken
// before a scan are invalid after it.
class tLogFiles {
public:
    using Entries = std::vector<std::unique_ptr<tLogFile>>;
    // Told the name of a known-file log that was deleted, so that the events
    // of that file can go with it.
    using KnownFileLogDeleted = std::function<void(const std::string& name)>;

    explicit tLogFiles(tLogStoreContext context);
    ~tLogFiles();
    tLogFiles(const tLogFiles&) = delete;
    tLogFiles& operator=(const tLogFiles&) = delete;

    const tLogStoreContext& context() const { return context_; }
    void onKnownFileLogDeleted(KnownFileLogDeleted hook) { knownFileLogDeleted_ = std::move(hook); }

    void clearLogs();
    // Rebuilds the catalogue from the log files of the logs folder. When one
    // name has several files, the one first in the order .pln, .pln_on,
    // .pln_off is kept and each other file is reported once. Temporary
    // files that a crash left beside a log are removed.
    void scanLogs();

    std::size_t count() const { return entries_.size(); }
    tLogFile& getLog(std::size_t index) const { return *entries_.at(index); }
    const Entries& logs() const { return entries_; }
    tLogFile* findLog(std::string_view name) const;
    tLogState getLogState(std::string_view name) const;
    // The log of statistics.ini's ConnRunTime value, or null.
    tLogFile* connRunTimeLog() const { return connRunTimeLog_; }

    // Adds a log unless its name is catalogued already; false then (and the
    // object is destroyed).
    bool add(std::unique_ptr<tLogFile> log);

    // Switches a log on (active), off (inactive) or deletes it (none). A
    // permanent log is never switched, and no log becomes permanent here. A name not catalogued is
    // looked up on disk first. Failing file operations are not reported: the next scan shows what
    // is on disk.
    void setLogState(std::string_view name, tLogState newState);

    // Renames a combined log and its file; false when it cannot.
    bool renameLog(std::string_view oldName, const std::string& newName);

    // Writes a new, empty log file for a name in state inactive, active or
    // permanent (any file of that name and extension is replaced). The log
    // does not enter the catalogue. False (after reporting) on failure.
    bool createLogFile(const std::string& name, tLogState state, const tLogHeader& header,
                       const tCombineBlock& block = {}) const;
    // The same for a caller that reports failures itself: they are thrown.
    void writeNewLogFile(const std::string& name, tLogState state, const tLogHeader& header,
                         const tCombineBlock& block = {}) const;

private:
    Entries::const_iterator lowerBound(std::string_view name) const;
    void keep(std::unique_ptr<tLogFile> log, std::vector<std::string>& duplicates);
    void remove(const tLogFile& log);
    void designateConnRunTime();

    // Before context_, which points to it unless the caller gave its own.
    std::unique_ptr<tInstantsCache> instants_ = std::make_unique<tInstantsCache>();
    tLogStoreContext context_;
    Entries entries_;
    tLogFile* connRunTimeLog_ = nullptr;
    KnownFileLogDeleted knownFileLogDeleted_;
};

// Whether a file of the name exists in the logs folder under any of the
// three extensions; names are compared without regard to case, as the
// catalogue does.
bool logExistsInAnyState(const std::string& logsFolder, std::string_view name);

} // namespace pln
