#include "platform/posix/posix_system_info.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace pln {

namespace {

std::string withoutTrailingSlashes(std::string path) {
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    return path;
}

// "/" as home becomes the empty text, so that home + "/Downloads" stays right.
std::optional<std::string> homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return withoutTrailingSlashes(home);
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir || found->pw_dir[0] != '/')
        return std::nullopt;
    return withoutTrailingSlashes(found->pw_dir);
}

std::optional<std::string> underHome(const char* relative) {
    auto home = homeFolder();
    if (!home)
        return std::nullopt;
    return *home + relative;
}

// An XDG variable counts only when it holds an absolute path.
std::optional<std::string> xdgFolder(const char* variable, const char* homeRelative) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') {
        std::string folder = withoutTrailingSlashes(value);
        return folder.empty() ? std::string("/") : folder;
    }
    return underHome(homeRelative);
}

} // namespace

std::string PosixSystemInfo::executablePath() {
    std::vector<char> buffer(4096);
    for (;;) {
        ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<OsVersion> PosixSystemInfo::osVersion() {
    return OsVersion{2, 6, 0};
}

std::optional<std::int32_t> PosixSystemInfo::emuleRegistryInt(const std::string&) {
    return std::nullopt;
}

bool PosixSystemInfo::shellAvailable() {
    return true;
}

bool PosixSystemInfo::knownFolderCallAvailable() {
    return true;
}

std::optional<std::string> PosixSystemInfo::knownFolder(KnownFolder folder) {
    switch (folder) {
    case KnownFolder::LocalAppData:
        return xdgFolder("XDG_DATA_HOME", "/.local/share");
    case KnownFolder::Downloads:
        return underHome("/Downloads");
    case KnownFolder::PublicDownloads:
        return underHome("/Public");
    case KnownFolder::ProgramData:
        return std::string("/var/lib");
    }
    return std::nullopt;
}

std::optional<std::string> PosixSystemInfo::shellFolder(ShellFolder folder) {
    switch (folder) {
    case ShellFolder::AppData:
        return xdgFolder("XDG_CONFIG_HOME", "/.config");
    case ShellFolder::Personal:
        return underHome("/Documents");
    }
    return std::nullopt;
}

char PosixSystemInfo::pathSeparator() const {
    return '/';
}

} // namespace pln
