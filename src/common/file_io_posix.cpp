#include "common/error.h"
#include "common/file_io.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace pln {

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

constexpr int maxLinkHops = 40;

std::string readLink(const std::string& link) {
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t n = ::readlink(link.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            throw Error(systemErrorText(errno), ErrorKind::io);
        if (static_cast<std::size_t>(n) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

std::string replacementTarget(const std::string& path) {
    std::string target = path;
    for (int hop = 0; hop < maxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return target;
        std::string link = readLink(target);
        const std::size_t slash = target.find_last_of('/');
        if (!link.empty() && link.front() != '/' && slash != std::string::npos)
            link = target.substr(0, slash + 1) + link;
        target = std::move(link);
    }
    throw Error(systemErrorText(ELOOP), ErrorKind::io);
}

std::string canonicalFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path absolute = fs::absolute(fs::path(folder), error);
    if (error)
        absolute = fs::path(folder);
    fs::path resolved = fs::weakly_canonical(absolute, error);
    std::string text = (error ? absolute.lexically_normal() : resolved).string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    if (text.empty() || text.back() != '/')
        text += '/';
    return text;
}

namespace {

// Every byte, resuming after interruptions; zero, or the errno of the
// failed write.
int writeAllBytes(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// Zero, or the errno of the first failure.
int writeAndClose(Fd& fd, std::span<const std::uint8_t> bytes, bool durable) {
    int error = writeAllBytes(fd.get(), bytes);
    if (error == 0 && durable && ::fsync(fd.get()) != 0)
        error = errno;
    if (::close(fd.release()) != 0 && error == 0)
        error = errno;
    return error;
}

} // namespace

bool appendToFile(const std::string& path, std::string_view bytes) {
    Fd fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
    if (fd.get() < 0)
        return false;
    ssize_t n = ::write(fd.get(), bytes.data(), bytes.size());
    return n == static_cast<ssize_t>(bytes.size());
}

FileReader::FileReader(const std::string& path, std::uint64_t limit)
    : path_(path), limit_(limit), handle_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    Fd fd(static_cast<int>(handle_));
    if (fd.get() < 0)
        throw Error(fileFailure("open", path, systemErrorText(errno)), ErrorKind::io);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        throw Error(fileFailure("read", path, systemErrorText(errno)), ErrorKind::io);
    size_ = static_cast<std::uint64_t>(st.st_size);
    if (size_ > limit)
        throw Error(fileFailure("read", path, tooLargeText(limit)), ErrorKind::invalidFile);
    fd.release();
}

FileReader::~FileReader() {
    ::close(static_cast<int>(handle_));
}

std::size_t FileReader::readSome(std::span<std::uint8_t> buffer) {
    for (;;) {
        ssize_t n = ::read(static_cast<int>(handle_), buffer.data(), buffer.size());
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR)
            throw FileReadError(fileFailure("read", path_, systemErrorText(errno)));
    }
}

TemporarySibling writeTemporarySibling(const std::string& path, std::span<const std::uint8_t> bytes,
                                       bool durable) {
    std::string target = replacementTarget(path);
    TemporarySibling sibling{temporarySiblingName(target), std::move(target)};
    struct stat original {};
    bool exists = ::stat(sibling.target.c_str(), &original) == 0;
    Fd fd(::open(sibling.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (fd.get() < 0)
        throw Error(systemErrorText(errno), ErrorKind::io);
    if (exists)
        (void)::fchmod(fd.get(), original.st_mode & 07777);
    if (int error = writeAndClose(fd, bytes, durable)) {
        ::unlink(sibling.temporary.c_str());
        throw Error(systemErrorText(error), ErrorKind::io);
    }
    return sibling;
}

void replaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes) {
    const TemporarySibling sibling = writeTemporarySibling(path, bytes, true);
    if (::rename(sibling.temporary.c_str(), sibling.target.c_str()) != 0) {
        int error = errno;
        ::unlink(sibling.temporary.c_str());
        throw Error(systemErrorText(error), ErrorKind::io);
    }
}

} // namespace pln
