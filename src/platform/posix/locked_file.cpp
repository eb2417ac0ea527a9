#include "platform/locked_file.h"

#include "common/error.h"
#include "common/file_io.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pln {

namespace {

int fdOf(std::intptr_t handle) {
    return static_cast<int>(handle);
}

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

int flushFileSystem(int fd) {
#ifdef __linux__
    return ::syncfs(fd);
#else
    ::sync();
    return 0;
#endif
}

} // namespace

LockedFile::LockedFile(const std::string& path, Access access) : handle_(-1) {
    int flags = (access == Access::Read ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    int fd = ::open(path.c_str(), flags);
    if (fd < 0)
        throw Error(systemErrorText(errno), ErrorKind::io);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int error = errno;
        ::close(fd);
        throw Error(systemErrorText(error), ErrorKind::io);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw Error(systemErrorText(S_ISDIR(st.st_mode) ? EISDIR : EINVAL), ErrorKind::io);
    }
    int lock = (access == Access::Read ? LOCK_SH : LOCK_EX) | LOCK_NB;
    while (::flock(fd, lock) != 0) {
        int error = errno;
        if (error == EINTR)
            continue;
        ::close(fd);
        if (error == EWOULDBLOCK)
            throw Error(fileInUseText, ErrorKind::fileInUse);
        throw Error(systemErrorText(error), ErrorKind::io);
    }
    handle_ = fd;
}

LockedFile::~LockedFile() {
    if (handle_ >= 0)
        ::close(fdOf(handle_));
}

std::uint64_t LockedFile::size() const {
    struct stat st {};
    if (::fstat(fdOf(handle_), &st) != 0)
        throw Error(systemErrorText(errno), ErrorKind::io);
    return static_cast<std::uint64_t>(st.st_size);
}

FileVersion LockedFile::version() const {
    struct stat st {};
    if (::fstat(fdOf(handle_), &st) != 0)
        throw Error(systemErrorText(errno), ErrorKind::io);
    auto ns = [](const timespec& t) { return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec; };
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size), ns(st.st_mtim), ns(st.st_ctim)};
}

std::size_t LockedFile::readSomeAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
    std::size_t done = 0;
    while (done < buffer.size()) {
        ssize_t n = ::pread(fdOf(handle_), buffer.data() + done, buffer.size() - done,
                            static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw Error(systemErrorText(errno), ErrorKind::io);
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool LockedFile::readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
    return readSomeAt(offset, buffer) == buffer.size();
}

void LockedFile::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::pwrite(fdOf(handle_), bytes.data() + done, bytes.size() - done,
                             static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw Error(systemErrorText(errno), ErrorKind::io);
        }
        done += static_cast<std::size_t>(n);
    }
}

void LockedFile::flush() {
    if (::fsync(fdOf(handle_)) != 0)
        throw Error(systemErrorText(errno), ErrorKind::io);
}

FileReplacementBatch::~FileReplacementBatch() {
    for (const Entry& entry : pending_)
        ::unlink(entry.temporary.c_str());
}

void FileReplacementBatch::add(const std::string& path, std::span<const std::uint8_t> bytes) {
    TemporarySibling sibling = writeTemporarySibling(path, bytes, false);
    pending_.push_back({path, std::move(sibling.temporary), std::move(sibling.target)});
    flushed_ = false;
}

// One file is flushed on its own; several share one flush of each file
// system they are on.
void FileReplacementBatch::flush() {
    std::vector<std::string> flushed;
    for (const Entry& entry : pending_) {
        bool alone = pending_.size() == 1;
        std::string target = alone ? entry.temporary : folderOf(entry.temporary);
        if (std::find(flushed.begin(), flushed.end(), target) != flushed.end())
            continue;
        int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            throw Error(systemErrorText(errno), ErrorKind::io);
        int result = alone ? ::fsync(fd) : flushFileSystem(fd);
        int error = errno;
        ::close(fd);
        if (result != 0)
            throw Error(systemErrorText(error), ErrorKind::io);
        flushed.push_back(target);
    }
    flushed_ = true;
}

void FileReplacementBatch::commit(const std::string& path) {
    auto entry = std::find_if(pending_.begin(), pending_.end(),
                              [&](const Entry& e) { return e.path == path; });
    if (entry == pending_.end() || !flushed_)
        throw Error("The new contents of the file were not made durable", ErrorKind::io);
    std::optional<LockedFile> held;
    if (::access(path.c_str(), F_OK) == 0)
        held.emplace(path, LockedFile::Access::ReadWrite);
    if (::rename(entry->temporary.c_str(), entry->target.c_str()) != 0)
        throw Error(systemErrorText(errno), ErrorKind::io);
    pending_.erase(entry);
}

} // namespace pln
