#include "common/wide_text.h"
#include "common/win_handle.h"
#include "platform/portable/ini_file_profile.h"

namespace pln {

// Others may go on reading and writing the file (eMule keeps its INI files
// open at times); a path that is no plain file is not read.
SettingsFileBytes readSettingsFile(const std::string& path, std::size_t limit) {
    SettingsFileBytes result;
    WinHandle file(::CreateFileW(toWide(path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            result.status = SettingsFileBytes::Status::Missing;
        return result;
    }
    LARGE_INTEGER size{};
    if (::GetFileType(file.get()) != FILE_TYPE_DISK || !::GetFileSizeEx(file.get(), &size) ||
        static_cast<std::uint64_t>(size.QuadPart) > limit)
        return result;
    char chunk[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file.get(), chunk, sizeof chunk, &n, nullptr) ||
            result.bytes.size() + n > limit) {
            result.bytes.clear();
            return result;
        }
        if (n == 0)
            break;
        result.bytes.append(chunk, n);
    }
    result.status = SettingsFileBytes::Status::Read;
    return result;
}

} // namespace pln
