#include "platform/locked_file.h"

#include "common/error.h"
#include "common/file_io.h"
#include "common/wide_text.h"

#include <algorithm>
#include <windows.h>

namespace pln {

namespace {

HANDLE handleOf(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

[[noreturn]] void throwError(DWORD error) {
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        throw Error(fileInUseText, ErrorKind::fileInUse);
    throw Error(windowsErrorText(error), ErrorKind::io);
}

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    position.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return position;
}

DWORD chunkOf(std::size_t remaining) {
    return static_cast<DWORD>(std::min<std::size_t>(remaining, 1u << 30));
}

} // namespace

// Readers share with readers only, so an open writer (the recorder
// appending) keeps a reader out, and a reader keeps writers out; a rewrite
// shares with nobody. Nobody can rename the file over an open one either.
LockedFile::LockedFile(const std::string& path, Access access) : handle_(0) {
    DWORD desired = access == Access::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    DWORD share = access == Access::Read ? FILE_SHARE_READ : 0;
    HANDLE file = ::CreateFileW(toWide(path).c_str(), desired, share, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throwError(::GetLastError());
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        throwError(ERROR_INVALID_PARAMETER);
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
}

LockedFile::~LockedFile() {
    ::CloseHandle(handleOf(handle_));
}

std::uint64_t LockedFile::size() const {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handleOf(handle_), &size))
        throwError(::GetLastError());
    return static_cast<std::uint64_t>(size.QuadPart);
}

FileVersion LockedFile::version() const {
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    if (!::GetFileInformationByHandle(handleOf(handle_), &info) ||
        !::GetFileInformationByHandleEx(handleOf(handle_), FileBasicInfo, &basic, sizeof basic))
        throwError(::GetLastError());
    auto join = [](DWORD high, DWORD low) { return std::uint64_t{high} << 32 | low; };
    return {info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
            join(info.nFileSizeHigh, info.nFileSizeLow),
            static_cast<std::int64_t>(
                join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)),
            basic.ChangeTime.QuadPart};
}

std::size_t LockedFile::readSomeAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
    std::size_t done = 0;
    while (done < buffer.size()) {
        OVERLAPPED position = at(offset + done);
        DWORD n = 0;
        if (!::ReadFile(handleOf(handle_), buffer.data() + done, chunkOf(buffer.size() - done), &n,
                        &position)) {
            DWORD error = ::GetLastError();
            if (error == ERROR_HANDLE_EOF)
                break;
            throwError(error);
        }
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

bool LockedFile::readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
    return readSomeAt(offset, buffer) == buffer.size();
}

void LockedFile::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        OVERLAPPED position = at(offset + done);
        DWORD n = 0;
        if (!::WriteFile(handleOf(handle_), bytes.data() + done, chunkOf(bytes.size() - done), &n,
                         &position))
            throwError(::GetLastError());
        done += n;
    }
}

void LockedFile::flush() {
    if (!::FlushFileBuffers(handleOf(handle_)))
        throwError(::GetLastError());
}

FileReplacementBatch::~FileReplacementBatch() {
    for (const Entry& entry : pending_)
        ::DeleteFileW(toWide(entry.temporary).c_str());
}

// Windows offers no flush of a whole volume to a plain user, so every new
// file is made durable as it is written.
void FileReplacementBatch::add(const std::string& path, std::span<const std::uint8_t> bytes) {
    TemporarySibling sibling = writeTemporarySibling(path, bytes, true);
    pending_.push_back({path, std::move(sibling.temporary), std::move(sibling.target)});
    flushed_ = false;
}

void FileReplacementBatch::flush() {
    flushed_ = true;
}

void FileReplacementBatch::commit(const std::string& path) {
    auto entry = std::find_if(pending_.begin(), pending_.end(),
                              [&](const Entry& e) { return e.path == path; });
    if (entry == pending_.end() || !flushed_)
        throw Error("The new contents of the file were not made durable", ErrorKind::io);
    // The rename itself fails while another handle holds the file, so no lock
    // is taken here: one would keep the rename out as well.
    if (DWORD error = commitReplacement(entry->temporary, entry->target))
        throwError(error);
    pending_.erase(entry);
}

} // namespace pln
