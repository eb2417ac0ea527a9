#include "platform/win32/win32_file_system.h"

#include "common/file_io.h"
#include "common/wide_text.h"
#include "common/win_handle.h"
#include "platform/win32/win32_file_time.h"

namespace pln {

namespace {

DWORD attributesOf(const std::string& path) {
    return ::GetFileAttributesW(toWide(path).c_str());
}

} // namespace

bool Win32FileSystem::fileExists(const std::string& path) {
    DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

bool Win32FileSystem::folderExists(const std::string& path) {
    DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::createFolder(const std::string& path) {
    (void)::CreateDirectoryW(toWide(path).c_str(), nullptr);
    return folderExists(path);
}

std::optional<FileStamp> Win32FileSystem::modificationStamp(const std::string& path) {
    WinHandle file(::CreateFileW(toWide(path).c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info))
        return std::nullopt;
    return fileTimeToUnixNs(info.ftLastWriteTime) / 1'000'000;
}

std::string Win32FileSystem::canonicalFolder(const std::string& folder) {
    return pln::canonicalFolder(folder);
}

} // namespace pln
