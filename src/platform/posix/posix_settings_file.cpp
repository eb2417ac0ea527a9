#include "platform/portable/ini_file_profile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pln {

SettingsFileBytes readSettingsFile(const std::string& path, std::size_t limit) {
    SettingsFileBytes result;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            result.status = SettingsFileBytes::Status::Missing;
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uint64_t>(st.st_size) > limit) {
        ::close(fd);
        return result;
    }
    char chunk[65536];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || result.bytes.size() + static_cast<std::size_t>(n) > limit) {
            ::close(fd);
            result.bytes.clear();
            return result;
        }
        if (n == 0)
            break;
        result.bytes.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    result.status = SettingsFileBytes::Status::Read;
    return result;
}

} // namespace pln
