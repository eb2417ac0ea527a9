#pragma once

#include <string>
#include <string_view>

namespace pln::tool {

// The delimiters of the paths the tool is given: Windows takes "\" and "/".
#ifdef _WIN32
inline constexpr std::string_view pathDelimiters = "\\/";
#else
inline constexpr std::string_view pathDelimiters = "/";
#endif

// A folder path that ends with a delimiter, the given one kept.
inline std::string folderPath(std::string folder) {
    if (!folder.empty() && pathDelimiters.find(folder.back()) == std::string_view::npos)
        folder += '/';
    return folder;
}

// The folder of a file, with its delimiter; "./" for a bare name.
inline std::string folderOfFile(const std::string& file) {
    const std::size_t end = file.find_last_of(pathDelimiters);
    return end == std::string::npos ? "./" : file.substr(0, end + 1);
}

} // namespace pln::tool
