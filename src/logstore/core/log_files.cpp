#include "logstore/core/log_files.h"

#include "common/error.h"
#include "common/file_io.h"
#include "common/text.h"
#include "logstore/core/log_folder.h"
#include "logstore/core/log_messages.h"
#include "logstore/core/log_names.h"

#include <algorithm>
#include <filesystem>

namespace pln {

namespace fs = std::filesystem;

namespace {

// The temporary file of a rewrite that a crash interrupted: a log file's
// name, ".tmp" and digits.
bool isLeftoverTemporary(std::string_view fileName) {
    const std::size_t tmp = fileName.rfind(".tmp");
    if (tmp == std::string_view::npos)
        return false;
    const std::string_view digits = fileName.substr(tmp + 4);
    const std::string_view log = fileName.substr(0, tmp);
    const std::size_t dot = log.rfind('.');
    return !digits.empty() &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
           dot != std::string_view::npos && stateOfExtension(log.substr(dot));
}

void removeQuietly(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

void renameQuietly(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
}

bool isFileName(std::string_view name) {
    return !name.empty() &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

} // namespace

tLogFiles::tLogFiles(tLogStoreContext context) : context_(std::move(context)) {
    if (context_.instants == nullptr)
        context_.instants = instants_.get();
}

tLogFiles::~tLogFiles() {
    clearLogs();
}

void tLogFiles::clearLogs() {
    connRunTimeLog_ = nullptr;
    entries_.clear();
}

tLogFiles::Entries::const_iterator tLogFiles::lowerBound(std::string_view name) const {
    return std::lower_bound(entries_.begin(), entries_.end(), name,
                            [](const std::unique_ptr<tLogFile>& entry, std::string_view n) {
                                return icompare(entry->name(), n) < 0;
                            });
}

tLogFile* tLogFiles::findLog(std::string_view name) const {
    auto pos = lowerBound(name);
    return pos != entries_.end() && iequals((*pos)->name(), name) ? pos->get() : nullptr;
}

tLogState tLogFiles::getLogState(std::string_view name) const {
    const tLogFile* log = findLog(name);
    return log ? log->state() : tLogState::none;
}

void tLogFiles::scanLogs() {
    clearLogs();
    tLogFolderListing listing(context_.logsFolder);
    std::vector<std::string> duplicates;
    for (const std::string& fileName : listing.fileNames()) {
        if (isLeftoverTemporary(fileName))
            removeQuietly(context_.logsFolder + fileName);
        std::size_t dot = fileName.rfind('.');
        if (dot == std::string::npos || !stateOfExtension(std::string_view(fileName).substr(dot)))
            continue;
        auto log = std::make_unique<tLogFile>(context_, fileName.substr(0, dot), &listing);
        if (log->valueType() != 0)
            keep(std::move(log), duplicates);
    }
    designateConnRunTime();
    for (const std::string& name : duplicates) {
        const tLogFile* kept = findLog(name);
        context_.prompter.showError(
            format(logmsg::duplicateFiles, {kept->name(), std::string(kept->extension())}));
    }
}

void tLogFiles::keep(std::unique_ptr<tLogFile> log, std::vector<std::string>& duplicates) {
    auto pos = lowerBound(log->name());
    if (pos != entries_.end() && iequals((*pos)->name(), log->name())) {
        duplicates.push_back(log->name());
        return;
    }
    entries_.insert(pos, std::move(log));
}

void tLogFiles::designateConnRunTime() {
    if (connRunTimeLog_)
        connRunTimeLog_->connRunTimeLog_ = false;
    connRunTimeLog_ = findLog(connRunTimeName);
    if (connRunTimeLog_)
        connRunTimeLog_->connRunTimeLog_ = true;
}

bool tLogFiles::add(std::unique_ptr<tLogFile> log) {
    auto pos = lowerBound(log->name());
    if (pos != entries_.end() && iequals((*pos)->name(), log->name()))
        return false;
    entries_.insert(pos, std::move(log));
    designateConnRunTime();
    return true;
}

void tLogFiles::remove(const tLogFile& log) {
    if (&log == connRunTimeLog_)
        connRunTimeLog_ = nullptr;
    std::erase_if(entries_, [&](const std::unique_ptr<tLogFile>& e) { return e.get() == &log; });
}

void tLogFiles::setLogState(std::string_view name, tLogState newState) {
    tLogFile* log = findLog(name);
    if (!log) {
        auto created = std::make_unique<tLogFile>(context_, std::string(name));
        if (created->valueType() == 0)
            return;
        log = created.get();
        add(std::move(created));
    }
    tLogState state = log->state();
    if (state == newState || state == tLogState::permanent || newState == tLogState::permanent)
        return;
    std::string base = context_.logsFolder + log->name();
    std::string on = base + std::string(extensionOf(tLogState::active));
    std::string off = base + std::string(extensionOf(tLogState::inactive));
    switch (newState) {
    case tLogState::none: {
        removeQuietly(log->path());
        removeQuietly(on);
        removeQuietly(off);
        std::string deleted = log->name();
        bool knownFile = log->kind() == tLogKind::knownFile;
        remove(*log);
        if (knownFile && knownFileLogDeleted_)
            knownFileLogDeleted_(deleted);
        return;
    }
    case tLogState::inactive:
        removeQuietly(off);
        renameQuietly(log->path(), off);
        break;
    case tLogState::active:
        renameQuietly(log->path(), on);
        break;
    case tLogState::permanent:
        break;
    }
    log->state_ = newState;
    log->fileName_ = log->name() + std::string(extensionOf(newState));
}

bool tLogFiles::renameLog(std::string_view oldName, const std::string& newName) {
    auto pos = lowerBound(oldName);
    if (pos == entries_.end() || !iequals((*pos)->name(), oldName) ||
        (*pos)->kind() != tLogKind::virtualLog)
        return false;
    const tLogFile* other = findLog(newName);
    if (other && other != pos->get())
        return false;
    auto index = static_cast<std::size_t>(pos - entries_.begin());
    if (!entries_[index]->renameVirtual(newName))
        return false;
    std::unique_ptr<tLogFile> log = std::move(entries_[index]);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    entries_.insert(lowerBound(log->name()), std::move(log));
    return true;
}

bool tLogFiles::createLogFile(const std::string& name, tLogState state, const tLogHeader& header,
                              const tCombineBlock& block) const {
    if (state == tLogState::none)
        return false;
    try {
        writeNewLogFile(name, state, header, block);
        return true;
    } catch (const std::exception& e) {
        context_.prompter.showError(e.what());
    }
    return false;
}

void tLogFiles::writeNewLogFile(const std::string& name, tLogState state, const tLogHeader& header,
                                const tCombineBlock& block) const {
    try {
        if (!isFileName(name))
            throw Error(logmsg::notAFileName);
        replaceFileContents(context_.logsFolder + name + std::string(extensionOf(state)),
                            encodeNewLog(kindOf(name), header, block));
    } catch (const std::exception& e) {
        throw Error(format(logmsg::cannotCreateFile, {name, e.what()}), errorKindOf(e));
    }
}

bool logExistsInAnyState(const std::string& logsFolder, std::string_view name) {
    std::error_code ec;
    for (tLogState state : probeOrder)
        if (fs::exists(logsFolder + std::string(name) + std::string(extensionOf(state)), ec))
            return true;
    tLogFolderListing listing(logsFolder);
    for (tLogState state : probeOrder)
        if (listing.find(std::string(name) + std::string(extensionOf(state))))
            return true;
    return false;
}

} // namespace pln
