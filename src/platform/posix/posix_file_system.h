#pragma once

#include "platform/file_system.h"

namespace pln {

// Files answered through stat(2). Only regular files count as files, so a
// device or a pipe put in place of an eMule file is never opened as one.
class PosixFileSystem : public FileSystem {
public:
    bool fileExists(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    bool createFolder(const std::string& path) override;
    std::optional<FileStamp> modificationStamp(const std::string& path) override;
    std::string canonicalFolder(const std::string& folder) override;
};

} // namespace pln
