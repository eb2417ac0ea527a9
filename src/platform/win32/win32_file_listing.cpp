#include "platform/win32/win32_file_listing.h"

#include "common/wide_text.h"
#include "platform/win32/win32_file_time.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace pln {

namespace {

template <class Data> FileEntry entryOf(std::string name, const Data& data) {
    FileEntry e;
    e.name = std::move(name);
    e.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    e.lastWriteTime = fileTimeToUnixNs(data.ftLastWriteTime);
    e.creationTime = fileTimeToUnixNs(data.ftCreationTime);
    e.attributes = data.dwFileAttributes;
    return e;
}

class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (valid())
            ::FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// COM for the calling thread, released only when this call started it: a
// GUI thread has its own apartment already.
class ComScope {
public:
    ComScope() : started_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (started_)
            ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool started_;
};

template <class Interface> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_)
            p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    Interface* operator->() const { return p_; }
    Interface** out() { return &p_; }
    void** outVoid() { return reinterpret_cast<void**>(&p_); }

private:
    Interface* p_ = nullptr;
};

} // namespace

std::vector<FileEntry> Win32FileListing::listFolder(const std::string& folder) {
    std::vector<FileEntry> out;
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/')
        pattern += '\\';
    WIN32_FIND_DATAW data{};
    FindHandle find(::FindFirstFileExW(toWide(pattern + "*").c_str(), FindExInfoBasic, &data,
                                       FindExSearchNameMatch, nullptr, 0));
    if (!find.valid())
        return out;
    do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            out.push_back(entryOf(fromWide(name), data));
    } while (::FindNextFileW(find.get(), &data));
    return out;
}

std::optional<FileEntry> Win32FileListing::entry(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(toWide(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    std::size_t slash = path.find_last_of("\\/");
    return entryOf(slash == std::string::npos ? path : path.substr(slash + 1), data);
}

bool Win32FileListing::isShellLink(const std::string& path) {
    SHFILEINFOW info{};
    info.dwAttributes = SFGAO_LINK;
    if (!::SHGetFileInfoW(toWide(path).c_str(), 0, &info, sizeof info,
                          SHGFI_ATTRIBUTES | SHGFI_ATTR_SPECIFIED))
        return false;
    return (info.dwAttributes & SFGAO_LINK) != 0;
}

// The stored target only: resolving would search the disks for a moved
// target and may ask the user.
std::optional<std::string> Win32FileListing::shellLinkTarget(const std::string& path) {
    ComScope com;
    ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  link.outVoid())))
        return std::nullopt;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.outVoid())) ||
        FAILED(file->Load(toWide(path).c_str(), STGM_READ)))
        return std::nullopt;
    wchar_t target[MAX_PATH] = {};
    if (link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK || target[0] == L'\0')
        return std::nullopt;
    return fromWide(target);
}

std::unique_ptr<FileListing> makeNativeFileListing() {
    return std::make_unique<Win32FileListing>();
}

} // namespace pln
