#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

// The plain files of the logs folder (folders and hidden files left out),
// found by name without regard to case, the way the Windows file system
// finds them: a log file abc.PLN_ON belongs to the log abc.
class tLogFolderListing {
public:
    explicit tLogFolderListing(const std::string& folder);

    // The file name as spelled on disk; of several spellings the first in
    // byte order.
    std::optional<std::string> find(std::string_view fileName) const;
    // Every file name in byte order.
    std::vector<std::string> fileNames() const;

private:
    std::multimap<std::string, std::string> byLowerName_;
};

} // namespace pln
