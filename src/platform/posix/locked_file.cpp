#include "platform/locked_file.h"

#include "common/error.h"
#include "common/file_io.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pln {

namespace {

int fdOf(std::intptr_t handle) {
    return static_cast<int>(handle);
}

} // namespace

LockedFile::LockedFile(const std::string& path, Access access) : handle_(-1), path_(path) {
    int flags = (access == Access::Read ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    int fd = ::open(path.c_str(), flags);
    if (fd < 0)
        throw Error(systemErrorText(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int error = errno;
        ::close(fd);
        throw Error(systemErrorText(error));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw Error(systemErrorText(S_ISDIR(st.st_mode) ? EISDIR : EINVAL));
    }
    int lock = (access == Access::Read ? LOCK_SH : LOCK_EX) | LOCK_NB;
    while (::flock(fd, lock) != 0) {
        int error = errno;
        if (error == EINTR)
            continue;
        ::close(fd);
        if (error == EWOULDBLOCK)
            throw Error(fileInUseText);
        throw Error(systemErrorText(error));
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
        throw Error(systemErrorText(errno));
    return static_cast<std::uint64_t>(st.st_size);
}

std::size_t LockedFile::readSomeAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
    std::size_t done = 0;
    while (done < buffer.size()) {
        ssize_t n = ::pread(fdOf(handle_), buffer.data() + done, buffer.size() - done,
                            static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw Error(systemErrorText(errno));
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
            throw Error(systemErrorText(errno));
        }
        done += static_cast<std::size_t>(n);
    }
}

void LockedFile::flush() {
    if (::fsync(fdOf(handle_)) != 0)
        throw Error(systemErrorText(errno));
}

void LockedFile::replaceContents(std::span<const std::uint8_t> bytes) {
    replaceFileContents(path_, bytes);
}

} // namespace pln
