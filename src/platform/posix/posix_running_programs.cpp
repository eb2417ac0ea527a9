#include "platform/posix/posix_running_programs.h"

#include "common/text.h"
#include "platform/posix/read_up_to.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace pln {

namespace {

// Command lines longer than this are cut; the program's own name comes first.
constexpr std::size_t maxCommandLine = 65536;

// The command line read into buffer, which holds maxCommandLine bytes and
// serves every process of a scan.
std::string_view commandLine(int procFd, const char* pid, char* buffer) {
    const std::string path = std::string(pid) + "/cmdline";
    int fd = ::openat(procFd, path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    const std::size_t got = readUpTo(fd, buffer, maxCommandLine);
    ::close(fd);
    return {buffer, got};
}

// Whether one of the NUL-separated words is the executable, in any folder.
bool namesExecutable(std::string_view command, const std::string& foldedName) {
    std::size_t start = 0;
    while (start < command.size()) {
        std::size_t end = command.find('\0', start);
        if (end == std::string_view::npos)
            end = command.size();
        const std::string_view word = command.substr(start, end - start);
        const std::size_t slash = word.find_last_of("\\/");
        const std::string_view name =
            slash == std::string_view::npos ? word : word.substr(slash + 1);
        if (foldCase(name) == foldedName)
            return true;
        start = end + 1;
    }
    return false;
}

bool isProcessFolder(const char* name) {
    if (!*name)
        return false;
    for (const char* c = name; *c; ++c)
        if (*c < '0' || *c > '9')
            return false;
    return true;
}

} // namespace

bool PosixRunningPrograms::userRuns(const std::string& executableName) {
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return false;
    const int procFd = ::dirfd(proc);
    const std::string folded = foldCase(executableName);
    const uid_t user = ::getuid();
    const auto buffer = std::make_unique_for_overwrite<char[]>(maxCommandLine);
    bool found = false;
    while (const dirent* entry = ::readdir(proc)) {
        struct stat st {};
        if (!isProcessFolder(entry->d_name) || ::fstatat(procFd, entry->d_name, &st, 0) != 0 ||
            st.st_uid != user)
            continue;
        if (namesExecutable(commandLine(procFd, entry->d_name, buffer.get()), folded)) {
            found = true;
            break;
        }
    }
    ::closedir(proc);
    return found;
}

} // namespace pln
