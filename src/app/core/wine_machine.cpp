#include "app/core/wine_machine.h"

#include "common/error.h"
#include "common/file_io.h"
#include "common/text.h"
#include "emulefiles/core/wine_paths.h"

#include <filesystem>

namespace pln {

namespace {

constexpr const char* emuleKey = "Software\\eMule";
constexpr const char* shellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* downloadsValue = "{374DE290-123F-4565-9164-39C4925E467B}";
// A registry of a real prefix is a few megabytes; a larger file is no
// registry worth reading.
constexpr std::size_t maxRegistrySize = std::size_t{64} * 1024 * 1024;

tWineRegistry readRegistry(FileSystem& files, const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!files.fileExists(path) || error || size > maxRegistrySize)
        return {};
    try {
        std::vector<std::uint8_t> bytes = readWholeFile(path);
        return tWineRegistry::parse({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    } catch (const Error&) {
        return {};
    }
}

} // namespace

tWineMachine::tWineMachine(FileSystem& files, FileListing& listing, std::string prefix,
                           std::string userName)
    : files_(files), listing_(listing), prefix_(std::move(prefix)), userName_(std::move(userName)),
      registry_(readRegistry(files, prefix_ + "user.reg")) {}

std::string tWineMachine::nativeFolder(const std::string& windowsPath) {
    std::string native = wineNativePath(listing_, prefix_, windowsPath).value_or(windowsPath);
    while (native.size() > 1 && native.back() == '/')
        native.pop_back();
    return native;
}

// eMule's installer puts it in either Program Files; the one that holds eMule
// or its configuration is taken, else the usual one.
std::string tWineMachine::executablePath() {
    std::string chosen = "C:\\Program Files\\eMule";
    for (const char* folder : {"C:\\Program Files\\eMule", "C:\\Program Files (x86)\\eMule"}) {
        const std::string native = nativeFolder(folder);
        if (files_.fileExists(nativeFolder(std::string(folder) + "\\eMule.exe")) ||
            files_.folderExists(native + "/config")) {
            chosen = folder;
            break;
        }
    }
    return nativeFolder(chosen) + "/PLN/PLN.exe";
}

std::optional<std::int32_t> tWineMachine::emuleRegistryInt(const std::string& valueName) {
    return registry_.dword(emuleKey, valueName);
}

// Wine names the profile after the system's user; without that name the
// prefix's one personal profile serves.
std::string tWineMachine::profileName() {
    if (!userName_.empty())
        return userName_;
    for (const FileEntry& entry : listing_.listFolder(nativeFolder("C:\\users"))) {
        const std::string name = foldCase(entry.name);
        if ((entry.attributes & fileAttribute::directory) && name != "public" && name != "default")
            return entry.name;
    }
    return {};
}

std::string tWineMachine::userFolder(const char* valueName, const std::string& underProfile) {
    auto named = registry_.text(shellFoldersKey, valueName);
    return nativeFolder(named ? *named : "C:\\users\\" + profileName() + "\\" + underProfile);
}

std::optional<std::string> tWineMachine::knownFolder(KnownFolder folder) {
    switch (folder) {
    case KnownFolder::LocalAppData:
        return userFolder("Local AppData", "AppData\\Local");
    case KnownFolder::Downloads:
        return userFolder(downloadsValue, "Downloads");
    case KnownFolder::PublicDownloads:
        return nativeFolder("C:\\users\\Public\\Downloads");
    case KnownFolder::ProgramData:
        return nativeFolder("C:\\ProgramData");
    }
    return std::nullopt;
}

std::optional<std::string> tWineMachine::shellFolder(ShellFolder folder) {
    switch (folder) {
    case ShellFolder::AppData:
        return userFolder("AppData", "AppData\\Roaming");
    case ShellFolder::Personal:
        return userFolder("Personal", "Documents");
    }
    return std::nullopt;
}

} // namespace pln
