#include "emulefiles/core/shared_folders.h"

#include "common/settled.h"
#include "common/text.h"
#include "emulefiles/core/dat_text_reader.h"
#include "emulefiles/core/windows_path.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace pln {

namespace {

void insertPath(std::vector<std::string>& list, std::string path) {
    auto it = std::lower_bound(list.begin(), list.end(), path, pathLess);
    if (it == list.end() || comparePaths(*it, path) != 0)
        list.insert(it, std::move(path));
}

bool isBlank(std::string_view line) {
    return trimControl(line).empty();
}

// The index of a "Cat#<i>" section, i in plain decimal as eMule writes it.
std::optional<std::int64_t> categoryIndex(std::string_view section) {
    if (!istartsWith(section, "Cat#"))
        return std::nullopt;
    std::string_view digits = section.substr(4);
    if (digits.empty() || digits.size() > 10 || (digits.size() > 1 && digits[0] == '0'))
        return std::nullopt;
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

std::int64_t parseCount(const std::optional<std::string>& text) {
    if (!text)
        return 0;
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
    return ec == std::errc() && end == text->data() + text->size() ? value : 0;
}

} // namespace

tSharedFolders::tSharedFolders(FileSystem& files, Clock& clock, IniProfile& ini,
                               FileListing& listing, std::string configFolder, char separator)
    : files_(files), clock_(clock), ini_(ini), listing_(listing),
      configFolder_(std::move(configFolder)), separator_(separator) {}

FileStamp tSharedFolders::stampOf(const std::string& path) {
    return files_.modificationStamp(path).value_or(-1);
}

bool tSharedFolders::settled(FileStamp stamp) {
    return hasSettled(clock_.nowUnixMs(), stamp);
}

bool tSharedFolders::incomingDirChanged() {
    FileStamp stamp = stampOf(preferencesPath());
    if (incomingDirLoaded_ && stamp == preferencesAge_)
        return false;
    return settled(stamp);
}

bool tSharedFolders::sourceChanged(const std::string& path, bool loaded, FileStamp age) {
    if (files_.fileExists(path)) {
        FileStamp stamp = stampOf(path);
        if (loaded && stamp == age)
            return false;
        return settled(stamp);
    }
    if (!loaded)
        return true;
    if (age == -1)
        return false;
    return settled(age);
}

bool tSharedFolders::sharedDirsChanged() {
    return sourceChanged(sharedDirsPath(), sharedDirsLoaded_, sharedDirsAge_);
}

bool tSharedFolders::categoriesChanged() {
    return sourceChanged(categoriesPath(), categoriesLoaded_, categoriesAge_);
}

bool tSharedFolders::sharedFilesChanged() {
    return sourceChanged(sharedFilesPath(), sharedFilesLoaded_, sharedFilesAge_);
}

void tSharedFolders::addFolder(std::string_view path, tSharedSource source) {
    tSharedFolder folder{withTrailingDelimiter(path, separator_), source};
    auto it = std::lower_bound(
        folders_.begin(), folders_.end(), folder.path,
        [](const tSharedFolder& f, const std::string& p) { return pathLess(f.path, p); });
    if (it == folders_.end() || comparePaths(it->path, folder.path) != 0)
        folders_.insert(it, std::move(folder));
}

void tSharedFolders::removeSource(tSharedSource source) {
    std::erase_if(folders_, [source](const tSharedFolder& f) { return f.source == source; });
}

void tSharedFolders::loadIncomingDir() {
    // The stamp is taken before the read: a write between the two then
    // shows as a change at the next test instead of being lost.
    FileStamp stamp = stampOf(preferencesPath());
    std::string value = ini_.read(preferencesPath(), "eMule", "IncomingDir").value_or("");
    incomingDirLoaded_ = !value.empty();
    if (!incomingDirLoaded_)
        return;
    preferencesAge_ = stamp;
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) {
        if (it->source == tSharedSource::incomingDir) {
            folders_.erase(std::next(it).base());
            break;
        }
    }
    addFolder(value, tSharedSource::incomingDir);
}

bool tSharedFolders::readLines(const std::string& path, bool& loaded, FileStamp& age,
                               std::vector<std::string>& lines) {
    lines.clear();
    lastDatError_.clear();
    if (!files_.fileExists(path)) {
        loaded = true;
        age = -1;
        return true;
    }
    tDatText dat = readDatText(files_, path);
    loaded = dat.ok;
    lastDatError_ = dat.error;
    if (!dat.ok)
        return false;
    age = dat.stamp;
    for (auto& line : splitLines(dat.text))
        if (!isBlank(line))
            lines.push_back(std::move(line));
    return true;
}

void tSharedFolders::loadSharedDirs() {
    std::vector<std::string> lines;
    if (!readLines(sharedDirsPath(), sharedDirsLoaded_, sharedDirsAge_, lines))
        return;
    removeSource(tSharedSource::sharedDir);
    for (const auto& line : lines)
        addFolder(line, tSharedSource::sharedDir);
}

void tSharedFolders::loadSharedFiles() {
    std::vector<std::string> lines;
    if (!readLines(sharedFilesPath(), sharedFilesLoaded_, sharedFilesAge_, lines))
        return;
    sharedFiles_.clear();
    excludedFiles_.clear();
    for (auto& line : lines) {
        if (line[0] != '-')
            insertPath(sharedFiles_, std::move(line));
        else if (line.size() > 1)
            insertPath(excludedFiles_, line.substr(1));
    }
}

std::vector<std::string> tSharedFolders::categoryFolders() {
    const std::string path = categoriesPath();
    std::int64_t count = parseCount(ini_.read(path, "General", "Count"));
    // Only the sections present can hold a folder, so a hostile count costs
    // nothing beyond the file's own sections.
    std::set<std::int64_t> indexes;
    for (const auto& section : ini_.sections(path))
        if (auto i = categoryIndex(section); i && *i <= count)
            indexes.insert(*i);
    std::vector<std::string> out;
    for (std::int64_t i : indexes) {
        auto value = ini_.read(path, "Cat#" + std::to_string(i), "Incoming");
        if (value && !value->empty())
            out.push_back(*value);
    }
    return out;
}

void tSharedFolders::loadCategories() {
    categoriesLoaded_ = false;
    const std::string path = categoriesPath();
    std::vector<std::string> collected;
    if (files_.fileExists(path)) {
        FileStamp stamp = stampOf(path);
        collected = categoryFolders();
        if (stampOf(path) != stamp)
            return;
        categoriesAge_ = stamp;
    } else {
        categoriesAge_ = -1;
    }
    categoriesLoaded_ = true;
    removeSource(tSharedSource::category);
    for (const auto& folder : collected)
        addFolder(folder, tSharedSource::category);
}

} // namespace pln
