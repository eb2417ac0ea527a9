#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pln {

// A file's last-modification time, in milliseconds since 1970-01-01 UTC. It
// is compared for equality to notice a change and converted to a date-time
// for the "older than 2000 ms" tests.
using FileStamp = std::int64_t;

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool fileExists(const std::string& path) = 0;
    virtual bool folderExists(const std::string& path) = 0;
    // Creates one folder level; its parent must exist. True when it exists afterwards.
    virtual bool createFolder(const std::string& path) = 0;
    // Empty when the file does not exist or cannot be queried.
    virtual std::optional<FileStamp> modificationStamp(const std::string& path) = 0;
    // The one spelling of a folder: absolute, links resolved, ending with the
    // separator. Names derived from a folder depend on it.
    virtual std::string canonicalFolder(const std::string& folder) = 0;
};

} // namespace pln
