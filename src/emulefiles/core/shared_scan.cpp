#include "common/text.h"
#include "emulefiles/core/shared_folders.h"
#include "emulefiles/core/windows_path.h"
#include "emulefiles/core/wine_paths.h"

#include <algorithm>
#include <charconv>

namespace pln {

namespace {

// eMule shares nothing larger, and an empty file has no hash to share.
constexpr std::uint64_t maxSharedSize = 0x4000000000ULL;

// Ordinary, read-only, hidden and archive files; never folders or system files.
bool isShareable(const FileEntry& e) {
    return (e.attributes & (fileAttribute::directory | fileAttribute::system)) == 0;
}

bool hasLinkExtension(std::string_view name) {
    return name.size() >= 4 && iequals(name.substr(name.size() - 4), ".lnk");
}

// A profile boolean: any integer but 0 is true; anything else the default, false.
bool parseBool(const std::optional<std::string>& text) {
    if (!text)
        return false;
    long long value = 0;
    auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
    return ec == std::errc() && end == text->data() + text->size() && value != 0;
}

// One run of the scan: the files found so far in the order found, and the
// answers that stay the same for the whole run.
class tShareScan {
public:
    tShareScan(FileSystem& files, FileListing& listing, IniProfile& ini,
               const std::string& configFolder, char separator,
               const std::vector<std::string>& excludedFiles)
        : files_(files), listing_(listing), ini_(ini),
          preferencesPath_(configFolder + "preferences.ini"), separator_(separator),
          winePrefix_(winePrefixFor(configFolder)), excludedFiles_(excludedFiles) {}

    void scanFolder(const std::string& folder) {
        for (const auto& native : nativePathCandidates(folder, separator_, listing_, winePrefix_)) {
            if (!files_.folderExists(native))
                continue;
            for (auto& entry : listing_.listFolder(native))
                if (isShareable(entry) && !isExcluded(folder, entry.name))
                    process(folder, native, std::move(entry), true);
            return;
        }
    }

    void scanFile(const std::string& path) {
        if (auto found = findFile(path))
            process(std::string(folderPart(path)), std::string(folderPart(found->first)),
                    std::move(found->second), true);
    }

    std::vector<tSharedFile> take() { return std::move(found_); }

private:
    // The Windows paths of an eMule running in Wine lead into the prefix its
    // configuration lies in; other configurations use the user's prefix.
    std::optional<std::string> winePrefixFor(const std::string& configFolder) {
        if (separator_ != '/')
            return std::nullopt;
        if (auto enclosing = enclosingWinePrefix(files_, configFolder))
            return enclosing;
        return listing_.winePrefix();
    }

    std::optional<std::pair<std::string, FileEntry>> findFile(const std::string& path) {
        for (auto& native : nativePathCandidates(path, separator_, listing_, winePrefix_)) {
            auto entry = listing_.entry(native);
            if (entry && isShareable(*entry))
                return std::pair{std::move(native), std::move(*entry)};
        }
        return std::nullopt;
    }

    bool isExcluded(const std::string& folder, const std::string& name) const {
        if (excludedFiles_.empty())
            return false;
        std::string full = folder + name;
        return std::binary_search(excludedFiles_.begin(), excludedFiles_.end(), full, pathLess);
    }

    void process(const std::string& folder, const std::string& nativeFolder, FileEntry entry,
                 bool followLinks) {
        if (entry.size == 0 || entry.size > maxSharedSize)
            return;
        if (hasLinkExtension(entry.name)) {
            std::string native = nativeFolder + entry.name;
            if (listing_.isShellLink(native)) {
                if (followLinks && resolveLinks())
                    followLink(native);
                return;
            }
        }
        found_.push_back(
            {std::move(entry.name), tSharedData{folder, entry.lastWriteTime, entry.creationTime,
                                                entry.attributes, entry.size}});
    }

    // A shortcut shares its target, not itself; a target that is a shortcut
    // again is not followed, so a shortcut to itself cannot loop.
    void followLink(const std::string& link) {
        auto target = listing_.shellLinkTarget(link);
        if (!target)
            return;
        if (auto found = findFile(*target))
            process(std::string(folderPart(*target)), std::string(folderPart(found->first)),
                    std::move(found->second), false);
    }

    bool resolveLinks() {
        if (!resolveLinks_)
            resolveLinks_ =
                parseBool(ini_.read(preferencesPath_, "eMule", "ResolveSharedShellLinks"));
        return *resolveLinks_;
    }

    FileSystem& files_;
    FileListing& listing_;
    IniProfile& ini_;
    std::string preferencesPath_;
    char separator_;
    std::optional<std::string> winePrefix_;
    const std::vector<std::string>& excludedFiles_;
    std::optional<bool> resolveLinks_;
    std::vector<tSharedFile> found_;
};

} // namespace

void tSharedFolders::scanSharedFiles(tSharedFileTable& table) {
    table.clear();
    tShareScan scan(files_, listing_, ini_, configFolder_, separator_, excludedFiles_);
    for (const auto& folder : folders_)
        scan.scanFolder(folder.path);
    for (const auto& path : sharedFiles_)
        scan.scanFile(path);
    table.assign(scan.take());
}

} // namespace pln
