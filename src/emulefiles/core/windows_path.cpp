#include "emulefiles/core/windows_path.h"

#include "common/text.h"
#include "emulefiles/core/wine_paths.h"

#include <algorithm>

namespace pln {

namespace {

// The path as Windows compares it: case-folded, one kind of delimiter.
std::string comparablePath(std::string_view path) {
    std::string out = foldCase(path);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

std::string slashed(std::string_view path) {
    std::string out(path);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

} // namespace

bool hasDriveLetter(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::string withTrailingDelimiter(std::string_view path, char separator) {
    std::string out(path);
    if (!out.empty() && isPathDelimiter(out.back()))
        return out;
    bool windowsForm = out.find('\\') != std::string::npos || hasDriveLetter(out);
    out += windowsForm ? '\\' : separator;
    return out;
}

std::string_view folderPart(std::string_view path) {
    std::size_t i = path.find_last_of("\\/");
    return i == std::string_view::npos ? std::string_view() : path.substr(0, i + 1);
}

std::string_view fileNamePart(std::string_view path) {
    std::size_t i = path.find_last_of("\\/");
    return i == std::string_view::npos ? path : path.substr(i + 1);
}

int comparePaths(std::string_view a, std::string_view b) {
    return comparablePath(a).compare(comparablePath(b));
}

std::vector<std::string> nativePathCandidates(std::string_view stored, char separator,
                                              FileListing& listing,
                                              const std::optional<std::string>& winePrefix) {
    std::vector<std::string> out{std::string(stored)};
    if (separator != '/')
        return out;
    if (stored.find('\\') != std::string_view::npos)
        out.push_back(slashed(stored));
    if (winePrefix && !winePrefix->empty())
        if (auto native = wineNativePath(listing, *winePrefix, stored))
            out.push_back(std::move(*native));
    return out;
}

} // namespace pln
