#include "platform/posix/posix_mutex_service.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace pln {

namespace {

constexpr std::size_t longestEncodedName = 200;
constexpr std::size_t keptTailOfLongName = 180;
constexpr const char* hexDigits = "0123456789ABCDEF";

std::uint64_t fnv1a64(std::string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

bool keptAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool isWritableFolder(const char* path) {
    struct stat st {};
    return ::stat(path, &st) == 0 && S_ISDIR(st.st_mode) && ::access(path, W_OK | X_OK) == 0;
}

bool isRegularFile(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

struct flock wholeFile(short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return lock;
}

class PosixNamedMutex : public NamedMutex {
public:
    explicit PosixNamedMutex(int fd) : fd_(fd) {}
    ~PosixNamedMutex() override { ::close(fd_); }
    PosixNamedMutex(const PosixNamedMutex&) = delete;
    PosixNamedMutex& operator=(const PosixNamedMutex&) = delete;

private:
    int fd_;
};

} // namespace

PosixMutexService::PosixMutexService() : privateFolder_(false) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && isWritableFolder(runtime)) {
        lockFolder_ = withoutTrailingSlashes(runtime);
        return;
    }
    lockFolder_ = "/tmp/pln-" + std::to_string(::getuid());
    privateFolder_ = true;
}

PosixMutexService::PosixMutexService(std::string lockFolder)
    : lockFolder_(withoutTrailingSlashes(std::move(lockFolder))), privateFolder_(false) {}

std::string PosixMutexService::lockFileName(const std::string& name) {
    std::string encoded;
    for (unsigned char c : name) {
        if (keptAsIs(c)) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += hexDigits[c >> 4];
            encoded += hexDigits[c & 15];
        }
    }
    if (encoded.size() > longestEncodedName) {
        // "~" never occurs in an encoded name, so a shortened name cannot
        // meet the full encoding of another.
        std::string hash(16, '0');
        std::uint64_t value = fnv1a64(name);
        for (std::size_t i = 16; i-- > 0; value >>= 4)
            hash[i] = hexDigits[value & 15];
        encoded = encoded.substr(encoded.size() - keptTailOfLongName) + "~" + hash;
    }
    return encoded + ".lock";
}

// A shared temporary folder is only trusted when this user made it: a folder
// planted by someone else could hand out or withhold every name.
bool PosixMutexService::lockFolderUsable() const {
    (void)::mkdir(lockFolder_.c_str(), 0700);
    struct stat st {};
    if (!privateFolder_)
        return ::stat(lockFolder_.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    return ::lstat(lockFolder_.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

// An open file description lock on the whole file: like flock it belongs to
// the open file, so it goes with the handle and with the process, and unlike
// flock it can be queried without being taken.
MutexService::Result PosixMutexService::create(const std::string& name) {
    Result result;
    if (!lockFolderUsable())
        return result;
    std::string path = lockFolder_ + "/" + lockFileName(name);
    // Close-on-exec keeps a started program from holding the name; no
    // blocking open on something that is not a regular file.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0)
        return result;
    if (!isRegularFile(fd)) {
        ::close(fd);
        return result;
    }
    struct flock lock = wholeFile(F_WRLCK);
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) {
        result.outcome = MutexOutcome::Created;
        result.handle = std::make_unique<PosixNamedMutex>(fd);
        return result;
    }
    if (errno == EAGAIN || errno == EACCES)
        result.outcome = MutexOutcome::AlreadyExists;
    ::close(fd);
    return result;
}

// The lock file is only looked at: nobody has held a name whose file does
// not exist yet.
bool PosixMutexService::isHeld(const std::string& name) {
    if (!lockFolderUsable())
        return true;
    std::string path = lockFolder_ + "/" + lockFileName(name);
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return errno != ENOENT;
    struct flock lock = wholeFile(F_RDLCK);
    const bool held =
        !isRegularFile(fd) || ::fcntl(fd, F_OFD_GETLK, &lock) != 0 || lock.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

} // namespace pln
