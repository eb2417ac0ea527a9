#include "platform/posix/posix_file_system.h"

#include "common/file_io.h"

#include <sys/stat.h>

namespace pln {

bool PosixFileSystem::fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PosixFileSystem::folderExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::createFolder(const std::string& path) {
    (void)::mkdir(path.c_str(), 0755);
    return folderExists(path);
}

std::optional<FileStamp> PosixFileSystem::modificationStamp(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    std::int64_t ms = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000;
    return ms + static_cast<std::int64_t>(st.st_mtim.tv_nsec) / 1'000'000;
}

std::string PosixFileSystem::canonicalFolder(const std::string& folder) {
    return pln::canonicalFolder(folder);
}

} // namespace pln
