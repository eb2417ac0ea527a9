#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pln {

// The operating system's version answer: the platform (1 = the consumer
// line 95/98/ME, 2 = the NT line, anything else = another platform), major
// and minor version.
struct OsVersion {
    int platformId = 0;
    int major = 0;
    int minor = 0;
};

enum class KnownFolder { LocalAppData, Downloads, PublicDownloads, ProgramData };
enum class ShellFolder { AppData, Personal };

// Questions about the system that the location rule asks, one answer each.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    // Full path of the running executable.
    virtual std::string executablePath() = 0;
    // Version from the extended version record, then the basic one; empty
    // when both are refused.
    virtual std::optional<OsVersion> osVersion() = 0;
    // An integer value under the current user's "Software\eMule" key; empty
    // when the key or the value is absent or unreadable.
    virtual std::optional<std::int32_t> emuleRegistryInt(const std::string& valueName) = 0;
    // Whether the shell library that answers the folder questions loads.
    virtual bool shellAvailable() = 0;
    // Whether the known-folder call exists (Vista and later).
    virtual bool knownFolderCallAvailable() = 0;
    // A folder path without trailing separator, or empty on failure.
    virtual std::optional<std::string> knownFolder(KnownFolder folder) = 0;
    virtual std::optional<std::string> shellFolder(ShellFolder folder) = 0;
    // The character that ends every folder location: '\' on Windows, '/' elsewhere.
    virtual char pathSeparator() const = 0;
};

} // namespace pln
