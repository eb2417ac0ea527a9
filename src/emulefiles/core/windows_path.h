#pragma once

#include "platform/file_listing.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

// eMule stores Windows paths ("C:\Share\"), also when it runs under Wine.
// Both delimiters are understood everywhere, so a path keeps the form in
// which eMule wrote it and is mapped to this system's form only to reach the
// disk.

// Whether a path starts with a drive letter and a colon ("C:").
bool hasDriveLetter(std::string_view path);

inline bool isPathDelimiter(char c) {
    return c == '\\' || c == '/';
}

// The path with one delimiter at its end: the path's own delimiter when it
// holds a backslash or starts with a drive letter, else the given separator.
std::string withTrailingDelimiter(std::string_view path, char separator);

// The folder part of a file path, with its trailing delimiter (empty when
// the path has no delimiter), and the name after it.
std::string_view folderPart(std::string_view path);
std::string_view fileNamePart(std::string_view path);

// Orders paths without regard to case (as Windows folds it), a backslash
// equal to a slash.
int comparePaths(std::string_view a, std::string_view b);

inline bool pathLess(std::string_view a, std::string_view b) {
    return comparePaths(a, b) < 0;
}

// The paths under which a stored path may be found here, the path as written
// first. With '/' as separator a Windows path is also tried with slashes,
// and a drive letter as Wine finds it in the prefix (wineNativePath).
std::vector<std::string> nativePathCandidates(std::string_view stored, char separator,
                                              FileListing& listing,
                                              const std::optional<std::string>& winePrefix);

} // namespace pln
