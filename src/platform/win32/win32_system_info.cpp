#include "platform/win32/win32_system_info.h"

#include "common/wide_text.h"

#include <shlobj.h>
#include <vector>
#include <windows.h>

namespace pln {

namespace {

using KnownFolderCall = HRESULT(WINAPI*)(const GUID&, DWORD, HANDLE, PWSTR*);

// The folder ids, spelled out so that no import library is needed for them.
constexpr GUID localAppDataId = {
    0xF1B32785, 0x6FBA, 0x4FCF, {0x9D, 0x55, 0x7B, 0x8E, 0x7F, 0x15, 0x70, 0x91}};
constexpr GUID downloadsId = {
    0x374DE290, 0x123F, 0x4565, {0x91, 0x64, 0x39, 0xC4, 0x92, 0x5E, 0x46, 0x7B}};
constexpr GUID publicDownloadsId = {
    0x3D644C9B, 0x1FB8, 0x4F30, {0x9B, 0x45, 0xF6, 0x70, 0x23, 0x5F, 0x79, 0xC0}};
constexpr GUID programDataId = {
    0x62AB5D82, 0xFDC1, 0x4DC3, {0xA9, 0xDD, 0x07, 0x0D, 0x1D, 0x49, 0x5D, 0x97}};

// Loaded at most once: the library stays for the life of the process.
HMODULE shellLibrary() {
    HMODULE shell = ::GetModuleHandleW(L"shell32.dll");
    return shell ? shell : ::LoadLibraryW(L"shell32.dll");
}

KnownFolderCall knownFolderCall() {
    HMODULE shell = shellLibrary();
    if (!shell)
        return nullptr;
    return reinterpret_cast<KnownFolderCall>(
        reinterpret_cast<void*>(::GetProcAddress(shell, "SHGetKnownFolderPath")));
}

std::optional<std::string> folderText(const wchar_t* path) {
    std::string folder = fromWide(path);
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    if (folder.empty())
        return std::nullopt;
    return folder;
}

} // namespace

// The module path can be longer than MAX_PATH: the buffer grows until the
// whole path fits.
std::string Win32SystemInfo::executablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size())
            return fromWide(std::wstring(buffer.data(), n));
        if (buffer.size() >= 32768)
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

// The version query is deprecated, yet it is the answer the location rule
// asks for.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#else
#pragma warning(push)
#pragma warning(disable : 4996)
#endif
std::optional<OsVersion> Win32SystemInfo::osVersion() {
    OSVERSIONINFOEXA extended{};
    extended.dwOSVersionInfoSize = sizeof extended;
    if (::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended)))
        return OsVersion{static_cast<int>(extended.dwPlatformId),
                         static_cast<int>(extended.dwMajorVersion),
                         static_cast<int>(extended.dwMinorVersion)};
    OSVERSIONINFOA basic{};
    basic.dwOSVersionInfoSize = sizeof basic;
    if (::GetVersionExA(&basic))
        return OsVersion{static_cast<int>(basic.dwPlatformId),
                         static_cast<int>(basic.dwMajorVersion),
                         static_cast<int>(basic.dwMinorVersion)};
    return std::nullopt;
}
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#else
#pragma warning(pop)
#endif

std::optional<std::int32_t> Win32SystemInfo::emuleRegistryInt(const std::string& valueName) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\eMule", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    LONG status = ::RegQueryValueExW(key, toWide(valueName).c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(&value), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

bool Win32SystemInfo::shellAvailable() {
    return shellLibrary() != nullptr;
}

bool Win32SystemInfo::knownFolderCallAvailable() {
    return knownFolderCall() != nullptr;
}

std::optional<std::string> Win32SystemInfo::knownFolder(KnownFolder folder) {
    KnownFolderCall call = knownFolderCall();
    if (!call)
        return std::nullopt;
    const GUID* id = &localAppDataId;
    switch (folder) {
    case KnownFolder::LocalAppData:
        id = &localAppDataId;
        break;
    case KnownFolder::Downloads:
        id = &downloadsId;
        break;
    case KnownFolder::PublicDownloads:
        id = &publicDownloadsId;
        break;
    case KnownFolder::ProgramData:
        id = &programDataId;
        break;
    }
    PWSTR path = nullptr;
    HRESULT result = call(*id, 0, nullptr, &path);
    std::optional<std::string> text;
    if (SUCCEEDED(result))
        text = folderText(path);
    ::CoTaskMemFree(path);
    return text;
}

std::optional<std::string> Win32SystemInfo::shellFolder(ShellFolder folder) {
    int id = folder == ShellFolder::AppData ? CSIDL_APPDATA : CSIDL_PERSONAL;
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path)))
        return std::nullopt;
    return folderText(path);
}

char Win32SystemInfo::pathSeparator() const {
    return '\\';
}

} // namespace pln
