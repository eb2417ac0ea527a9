#include "common/error.h"
#include "common/file_io.h"
#include "common/wide_text.h"
#include "common/win_handle.h"

#include <algorithm>
#include <optional>

namespace pln {

namespace {

[[noreturn]] void throwLastError() {
    throw Error(windowsErrorText(::GetLastError()), ErrorKind::io);
}

void writeAll(HANDLE file, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
            throwLastError();
        done += written;
    }
}

// GetFinalPathNameByHandleW answers in the long form; the rest of the
// program and the user see the plain one.
std::wstring withoutLongPrefix(std::wstring path) {
    const std::wstring unc = L"\\\\?\\UNC\\";
    const std::wstring local = L"\\\\?\\";
    if (path.compare(0, unc.size(), unc) == 0)
        return L"\\\\" + path.substr(unc.size());
    if (path.compare(0, local.size(), local) == 0)
        return path.substr(local.size());
    return path;
}

// The path of the file or folder the handle is open on, links resolved;
// none when it cannot be opened.
std::optional<std::wstring> finalPathOf(const std::wstring& path) {
    WinHandle file(::CreateFileW(path.c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid())
        return std::nullopt;
    std::wstring target(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetFinalPathNameByHandleW(file.get(), target.data(),
                                              static_cast<DWORD>(target.size()), 0);
        if (n == 0)
            return std::nullopt;
        bool fits = n < target.size();
        target.resize(n);
        if (fits)
            return withoutLongPrefix(target);
    }
}

// Either separator, doubled or not, becomes one backslash; the two of a
// network path's head stay.
std::wstring withoutDoubledSeparators(const std::wstring& path) {
    std::wstring result;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const wchar_t c = path[i] == L'/' ? L'\\' : path[i];
        if (c == L'\\' && i > 1 && result.back() == L'\\')
            continue;
        result += c;
    }
    return result;
}

} // namespace

// A link whose target is missing, or cannot be opened, is replaced like a
// plain file: there is no file behind it that others could be reading.
std::string replacementTarget(const std::string& path) {
    const std::wstring widePath = toWide(path);
    DWORD attributes = ::GetFileAttributesW(widePath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    std::optional<std::wstring> target = finalPathOf(widePath);
    return target ? fromWide(*target) : path;
}

std::string canonicalFolder(const std::string& folder) {
    const std::wstring wide = toWide(folder);
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        DWORD n =
            ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (n == 0) {
            full = wide;
            break;
        }
        bool fits = n < full.size();
        full.resize(n);
        if (fits)
            break;
    }
    std::wstring text = finalPathOf(full).value_or(withoutDoubledSeparators(full));
    while (text.size() > 1 && (text.back() == L'\\' || text.back() == L'/'))
        text.pop_back();
    return fromWide(text) + '\\';
}

bool appendToFile(const std::string& path, std::string_view bytes) {
    WinHandle file(::CreateFileW(toWide(path).c_str(), FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file.valid() &&
           ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) &&
           written == bytes.size();
}

FileReader::FileReader(const std::string& path, std::uint64_t limit)
    : path_(path), limit_(limit), handle_(0) {
    WinHandle file(::CreateFileW(toWide(path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        throw Error(fileFailure("open", path, windowsErrorText(::GetLastError())), ErrorKind::io);
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size))
        throw Error(fileFailure("read", path, windowsErrorText(::GetLastError())), ErrorKind::io);
    size_ = static_cast<std::uint64_t>(size.QuadPart);
    if (size_ > limit)
        throw Error(fileFailure("read", path, tooLargeText(limit)), ErrorKind::invalidFile);
    handle_ = reinterpret_cast<std::intptr_t>(file.release());
}

FileReader::~FileReader() {
    ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::size_t FileReader::readSome(std::span<std::uint8_t> buffer) {
    DWORD n = 0;
    DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), 1u << 30));
    if (!::ReadFile(reinterpret_cast<HANDLE>(handle_), buffer.data(), wanted, &n, nullptr))
        throw FileReadError(fileFailure("read", path_, windowsErrorText(::GetLastError())));
    return n;
}

// One rename that replaces the file, written through to the disk. Not
// ReplaceFileW: when it fails half-way the old file is gone under its name,
// which is the very loss this is meant to prevent.
unsigned long commitReplacement(const std::string& temporary, const std::string& path) {
    std::wstring to = toWide(path);
    DWORD attributes = ::GetFileAttributesW(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ERROR_ACCESS_DENIED;
    if (!::MoveFileExW(toWide(temporary).c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ::GetLastError();
    return ERROR_SUCCESS;
}

TemporarySibling writeTemporarySibling(const std::string& path, std::span<const std::uint8_t> bytes,
                                       bool) {
    std::string target = replacementTarget(path);
    TemporarySibling sibling{temporarySiblingName(target), std::move(target)};
    std::wstring widePath = toWide(sibling.temporary);
    WinHandle file(::CreateFileW(widePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        throwLastError();
    try {
        writeAll(file.get(), bytes);
        if (!::FlushFileBuffers(file.get()))
            throwLastError();
    } catch (...) {
        file.reset();
        ::DeleteFileW(widePath.c_str());
        throw;
    }
    return sibling;
}

void replaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes) {
    const TemporarySibling sibling = writeTemporarySibling(path, bytes, true);
    if (DWORD error = commitReplacement(sibling.temporary, sibling.target)) {
        ::DeleteFileW(toWide(sibling.temporary).c_str());
        throw Error(windowsErrorText(error), ErrorKind::io);
    }
}

} // namespace pln
