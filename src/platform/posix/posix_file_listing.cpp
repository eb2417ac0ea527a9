#include "platform/posix/posix_file_listing.h"

#include "common/shell_link.h"
#include "platform/posix/read_up_to.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pln {

namespace {

FileTime toFileTime(const struct statx_timestamp& t) {
    return static_cast<FileTime>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

std::optional<FileEntry> statEntry(int dirFd, const char* path, std::string name) {
    struct statx st {};
    if (::statx(dirFd, path, AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
        return std::nullopt;
    FileEntry e;
    e.name = std::move(name);
    e.size = st.stx_size;
    e.lastWriteTime = toFileTime(st.stx_mtime);
    if (st.stx_mask & STATX_BTIME)
        e.creationTime = toFileTime(st.stx_btime);
    if (S_ISDIR(st.stx_mode))
        e.attributes = fileAttribute::directory;
    else if (S_ISREG(st.stx_mode))
        e.attributes = fileAttribute::archive;
    else
        e.attributes = fileAttribute::system;
    if (!(st.stx_mode & S_IWUSR))
        e.attributes |= fileAttribute::readOnly;
    if (!e.name.empty() && e.name[0] == '.')
        e.attributes |= fileAttribute::hidden;
    return e;
}

std::optional<std::string> defaultWinePrefix() {
    if (const char* p = std::getenv("WINEPREFIX"); p && *p)
        return std::string(p);
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const struct passwd* pw = ::getpwuid(::getuid());
        home = pw ? pw->pw_dir : nullptr;
    }
    if (!home || !*home)
        return std::nullopt;
    return std::string(home) + "/.wine";
}

} // namespace

PosixFileListing::PosixFileListing() : winePrefix_(defaultWinePrefix()) {}

PosixFileListing::PosixFileListing(std::optional<std::string> winePrefix)
    : winePrefix_(std::move(winePrefix)) {}

std::vector<FileEntry> PosixFileListing::listFolder(const std::string& folder) {
    std::vector<FileEntry> out;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return out;
    int fd = ::dirfd(dir);
    while (const struct dirent* d = ::readdir(dir)) {
        if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0)
            continue;
        if (auto e = statEntry(fd, d->d_name, d->d_name))
            out.push_back(std::move(*e));
    }
    ::closedir(dir);
    return out;
}

std::optional<FileEntry> PosixFileListing::entry(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return statEntry(AT_FDCWD, path.c_str(),
                     slash == std::string::npos ? path : path.substr(slash + 1));
}

bool PosixFileListing::isShellLink(const std::string& path) {
    // A shell link starts with its header size and the link class id.
    static constexpr std::array<unsigned char, 20> header = {
        0x4C, 0x00, 0x00, 0x00, 0x01, 0x14, 0x02, 0x00, 0x00, 0x00,
        0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    std::array<unsigned char, 20> got{};
    ssize_t n = ::read(fd, got.data(), got.size());
    ::close(fd);
    return n == static_cast<ssize_t>(got.size()) && got == header;
}

std::unique_ptr<FileListing> makeNativeFileListing() {
    return std::make_unique<PosixFileListing>();
}

// No shell resolves shortcuts here: the target is read from the shortcut's
// bytes, whose link information lies near the start of the file.
std::optional<std::string> PosixFileListing::shellLinkTarget(const std::string& path) {
    constexpr std::size_t readLimit = 65536;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(readLimit);
    bytes.resize(readUpTo(fd, reinterpret_cast<char*>(bytes.data()), bytes.size()));
    ::close(fd);
    return shellLinkLocalTarget(bytes);
}

} // namespace pln
