#pragma once

#include "platform/file_system.h"

namespace pln {

// Files answered through their attributes, and last-write times through an
// open handle that lets everyone else go on reading, writing and renaming.
class Win32FileSystem : public FileSystem {
public:
    bool fileExists(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    bool createFolder(const std::string& path) override;
    std::optional<FileStamp> modificationStamp(const std::string& path) override;
    std::string canonicalFolder(const std::string& folder) override;
};

} // namespace pln
