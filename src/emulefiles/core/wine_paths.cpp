#include "emulefiles/core/wine_paths.h"

#include "common/text.h"
#include "emulefiles/core/windows_path.h"

namespace pln {

namespace {

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

// The parent of a folder that ends with "/"; empty at the root.
std::string parentFolder(const std::string& folder) {
    if (folder.size() <= 1)
        return {};
    const std::size_t slash = folder.rfind('/', folder.size() - 2);
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

// The name under which a component exists in the folder: itself, else the
// first entry equal to it under case folding; empty when there is none.
std::optional<std::string> entryName(FileListing& listing, const std::string& folder,
                                     std::string_view component) {
    const std::string exact(component);
    if (listing.entry(folder + exact))
        return exact;
    const std::string folded = foldCase(component);
    for (const FileEntry& entry : listing.listFolder(folder))
        if (foldCase(entry.name) == folded)
            return entry.name;
    return std::nullopt;
}

} // namespace

std::optional<std::string> enclosingWinePrefix(FileSystem& files, const std::string& folder) {
    for (std::string at = withSlash(folder); !at.empty(); at = parentFolder(at))
        if (files.folderExists(at + "dosdevices"))
            return at;
    return std::nullopt;
}

std::optional<std::string> wineNativePath(FileListing& listing, const std::string& prefix,
                                          std::string_view stored) {
    if (!hasDriveLetter(stored))
        return std::nullopt;
    std::string native = withSlash(prefix) + "dosdevices/" + toLowerAscii(stored.substr(0, 2));
    bool walking = true;
    std::size_t start = 2;
    while (start <= stored.size()) {
        std::size_t end = start;
        while (end < stored.size() && !isPathDelimiter(stored[end]))
            ++end;
        const std::string_view component = stored.substr(start, end - start);
        if (!component.empty()) {
            std::optional<std::string> name;
            if (walking)
                name = entryName(listing, native + '/', component);
            walking = name.has_value();
            native += '/';
            native += name ? *name : std::string(component);
        }
        start = end + 1;
    }
    if (isPathDelimiter(stored.back()))
        native += '/';
    return native;
}

} // namespace pln
