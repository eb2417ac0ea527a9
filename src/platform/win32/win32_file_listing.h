#pragma once

#include "platform/file_listing.h"

namespace pln {

// Listings through FindFirstFileExW, details through the attribute query,
// and shortcuts through the shell: SHGetFileInfoW tells a link, the shell-link
// object reads its target.
class Win32FileListing : public FileListing {
public:
    std::vector<FileEntry> listFolder(const std::string& folder) override;
    std::optional<FileEntry> entry(const std::string& path) override;
    bool isShellLink(const std::string& path) override;
    std::optional<std::string> shellLinkTarget(const std::string& path) override;
    std::optional<std::string> winePrefix() override { return std::nullopt; }
};

} // namespace pln
