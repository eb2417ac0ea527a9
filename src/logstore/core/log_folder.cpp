#include "logstore/core/log_folder.h"

#include "common/text.h"

#include <algorithm>
#include <filesystem>

namespace pln {

tLogFolderListing::tLogFolderListing(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        std::string name = it->path().filename().string();
        if (!name.starts_with('.'))
            byLowerName_.emplace(toLowerAscii(name), std::move(name));
    }
}

std::optional<std::string> tLogFolderListing::find(std::string_view fileName) const {
    auto [first, last] = byLowerName_.equal_range(toLowerAscii(fileName));
    if (first == last)
        return std::nullopt;
    return std::min_element(first, last,
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->second;
}

std::vector<std::string> tLogFolderListing::fileNames() const {
    std::vector<std::string> names;
    names.reserve(byLowerName_.size());
    for (const auto& entry : byLowerName_)
        names.push_back(entry.second);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace pln
