#include "emulefiles/core/windows_path.h"

#include "common/text.h"

#include <algorithm>

namespace pln {

namespace {

bool hasDriveLetter(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

char foldPathChar(char c) {
    if (c == '\\')
        return '/';
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::string slashed(std::string_view path) {
    std::string out(path);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

} // namespace

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
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto ca = static_cast<unsigned char>(foldPathChar(a[i]));
        auto cb = static_cast<unsigned char>(foldPathChar(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::vector<std::string> nativePathCandidates(std::string_view stored, char separator,
                                              const std::optional<std::string>& winePrefix) {
    std::vector<std::string> out{std::string(stored)};
    if (separator != '/')
        return out;
    if (stored.find('\\') != std::string_view::npos)
        out.push_back(slashed(stored));
    if (hasDriveLetter(stored) && winePrefix && !winePrefix->empty()) {
        std::string drive = winePrefix->back() == '/' ? *winePrefix : *winePrefix + "/";
        drive += "dosdevices/";
        drive += toLowerAscii(stored.substr(0, 2));
        std::string rest = slashed(stored.substr(2));
        if (!rest.empty() && rest.front() != '/')
            drive += '/';
        out.push_back(drive + rest);
    }
    return out;
}

} // namespace pln
