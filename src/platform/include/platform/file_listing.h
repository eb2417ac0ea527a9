#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pln {

// A file time in nanoseconds since 1970-01-01 00:00 UTC; 0 when the system
// does not know it (creation times on some file systems).
using FileTime = std::int64_t;

// Attribute bits as Windows reports them; the POSIX listing derives them from
// the file type, the owner's write permission and a leading dot.
namespace fileAttribute {
inline constexpr std::uint32_t readOnly = 0x01;
inline constexpr std::uint32_t hidden = 0x02;
inline constexpr std::uint32_t system = 0x04;
inline constexpr std::uint32_t directory = 0x10;
inline constexpr std::uint32_t archive = 0x20;
} // namespace fileAttribute

struct FileEntry {
    std::string name;
    std::uint64_t size = 0;
    FileTime lastWriteTime = 0;
    FileTime creationTime = 0;
    std::uint32_t attributes = 0;
};

// The folder listings and file details that the shared-file scan needs, one
// system call per entry at most, plus the shell's answers about shortcuts.
class FileListing {
public:
    virtual ~FileListing() = default;

    // Every entry of one folder (not descending), "." and ".." left out, in
    // the order the system gives; empty when the folder cannot be read.
    virtual std::vector<FileEntry> listFolder(const std::string& folder) = 0;
    // The entry of one path; empty when it does not exist or cannot be queried.
    virtual std::optional<FileEntry> entry(const std::string& path) = 0;
    // Whether the shell takes the file for a shortcut.
    virtual bool isShellLink(const std::string& path) = 0;
    // The target a shortcut points at; empty when it cannot be resolved.
    virtual std::optional<std::string> shellLinkTarget(const std::string& path) = 0;
    // Where Wine keeps the drive letters of the Windows programs of this
    // user (the folder holding "dosdevices"); empty where Windows paths are
    // native.
    virtual std::optional<std::string> winePrefix() = 0;
};

// The listing of the machine the program runs on.
std::unique_ptr<FileListing> makeNativeFileListing();

} // namespace pln
