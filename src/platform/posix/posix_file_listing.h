#pragma once

#include "platform/file_listing.h"

namespace pln {

// Listings through readdir(2) and one statx(2) per entry, which also gives
// the birth time where the file system keeps one. Symbolic links are
// followed, as Windows programs under Wine see them. A shortcut's target is
// read from its bytes, as written by Windows (a Windows path, which the
// caller maps to this system).
class PosixFileListing : public FileListing {
public:
    // The Wine prefix from $WINEPREFIX, else ~/.wine.
    PosixFileListing();
    explicit PosixFileListing(std::optional<std::string> winePrefix);

    std::vector<FileEntry> listFolder(const std::string& folder) override;
    std::optional<FileEntry> entry(const std::string& path) override;
    bool isShellLink(const std::string& path) override;
    std::optional<std::string> shellLinkTarget(const std::string& path) override;
    std::optional<std::string> winePrefix() override { return winePrefix_; }

private:
    std::optional<std::string> winePrefix_;
};

} // namespace pln
