#include "platform/posix/posix_ini_profile.h"

#include "common/error.h"
#include "common/file_io.h"
#include "common/ini_document.h"
#include "common/text.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pln {

namespace {

enum class ReadStatus { Read, Missing, Unreadable };

struct FileBytes {
    ReadStatus status = ReadStatus::Unreadable;
    std::string bytes;
};

// Only regular files up to the size limit are read, without blocking on
// anything else that might stand at the path.
FileBytes readBounded(const std::string& path) {
    FileBytes result;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            result.status = ReadStatus::Missing;
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uint64_t>(st.st_size) > PosixIniProfile::maxFileSize) {
        ::close(fd);
        return result;
    }
    char chunk[65536];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 ||
            result.bytes.size() + static_cast<std::size_t>(n) > PosixIniProfile::maxFileSize) {
            ::close(fd);
            result.bytes.clear();
            return result;
        }
        if (n == 0)
            break;
        result.bytes.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    result.status = ReadStatus::Read;
    return result;
}

IniDocument load(const std::string& path) {
    FileBytes file = readBounded(path);
    if (file.status != ReadStatus::Read)
        return IniDocument();
    return IniDocument(decodeTextFile(file.bytes));
}

} // namespace

std::optional<std::string>
PosixIniProfile::read(const std::string& file, const std::string& section, const std::string& key) {
    return load(file).value(section, key);
}

std::vector<std::string> PosixIniProfile::sections(const std::string& file) {
    return load(file).sections();
}

std::vector<std::string> PosixIniProfile::keys(const std::string& file,
                                               const std::string& section) {
    return load(file).keys(section);
}

// A file that exists but cannot be read is left alone: writing the one value
// into an empty document would throw the rest of it away.
bool PosixIniProfile::write(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& value) {
    FileBytes current = readBounded(file);
    if (current.status == ReadStatus::Unreadable)
        return false;
    TextEncoding encoding = detectEncoding(current.bytes);
    IniDocument document(decodeTextFile(current.bytes));
    if (!document.setValue(section, key, value))
        return false;
    std::string bytes = encodeTextFile(document.text(), encoding);
    try {
        replaceFileContents(file,
                            {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    } catch (const Error&) {
        return false;
    }
    return true;
}

} // namespace pln
