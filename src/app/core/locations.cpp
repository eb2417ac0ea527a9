#include "app/core/locations.h"

#include "app/core/windows_version.h"
#include "common/error.h"

#include <algorithm>
#include <optional>

namespace pln {

const char* const missingEmuleFilesMessage =
    "Cannot find known.met or preferences.ini.\r\n\r\nPlease make sure that:\r\n\r\n- %s "
    "executables are installed in an \"%s\" subfolder inside your eMule directory.\r\nTypically: "
    "\"C:\\Program files\\eMule\\%s\"\r\n\r\n- Emule has been started at least once with the "
    "currently selected setting in Options > Extended > Sharing eMule with other computer users "
    "(or simply that eMule has been started at least once, if older than v0.48a)";

const char* const missingDataFolderMessage = "Cannot find or create logs directory \"%s\"";

namespace {

// eMule's "UsePublicUserDirectories": where it keeps its configuration when
// several users share one installation.
constexpr int settingUnknown = -1;
constexpr int settingPerUser = 0;
constexpr int settingAllUsers = 1;

// Longer folders would not leave room for eMule's and the viewer's own file
// names within the old path limit, so such folders keep the defaults.
constexpr std::size_t maxAppDataLength = 230;
constexpr std::size_t maxDocumentsLength = 220;

// Paths accept the platform's separator and "/", which Windows takes too.
class tPathRules {
public:
    explicit tPathRules(char separator) : sep_(separator) {}

    bool isSeparator(char c) const { return c == sep_ || c == '/'; }

    std::string folder(const std::string& base, const char* name) const {
        return base + name + sep_;
    }

    std::string withSeparator(std::string path) const {
        if (path.empty() || !isSeparator(path.back()))
            path += sep_;
        return path;
    }

    std::string folderOf(const std::string& path) const {
        const auto end = lastSeparator(path, path.size());
        return end == std::string::npos ? std::string() : path.substr(0, end + 1);
    }

    // The root is its own parent.
    std::string parentOf(const std::string& folder) const {
        std::size_t end = folder.size();
        while (end > 0 && isSeparator(folder[end - 1]))
            --end;
        const auto last = lastSeparator(folder, end);
        return last == std::string::npos ? folder : folder.substr(0, last + 1);
    }

    std::string preferencesUnder(const std::string& base) const {
        return folder(folder(base, "eMule"), "config") + "preferences.ini";
    }

private:
    std::size_t lastSeparator(const std::string& path, std::size_t end) const {
        for (std::size_t i = end; i > 0; --i)
            if (isSeparator(path[i - 1]))
                return i - 1;
        return std::string::npos;
    }

    char sep_;
};

// Length in characters, as the system counts them, of a UTF-8 path.
std::size_t characterCount(const std::string& path) {
    std::size_t count = 0;
    for (unsigned char c : path)
        if ((c & 0xC0) != 0x80)
            ++count;
    return count;
}

struct tFolderChoice {
    std::string config;
    std::string data;
};

int sharingSetting(SystemInfo& system) {
    const auto value = system.emuleRegistryInt("UsePublicUserDirectories");
    if (!value || *value < -1 || *value > 2)
        return settingUnknown;
    return *value;
}

bool shouldLookAtUserFolders(int setting, bool configInEmuleFolder, std::uint16_t windowsVersion) {
    const bool vista = windowsVersion == windowsVista;
    switch (setting) {
    case settingPerUser:
        return true;
    case settingAllUsers:
        return vista;
    case settingUnknown:
        return !configInEmuleFolder || vista;
    default:
        return false;
    }
}

tFolderChoice underBase(const tPathRules& paths, const std::string& base) {
    return {paths.folder(base, "eMule"), paths.folder(base, "PLN")};
}

std::optional<tFolderChoice> knownFolderChoice(SystemInfo& system, FileSystem& files,
                                               const tPathRules& paths, int setting,
                                               bool configInEmuleFolder) {
    if (!system.knownFolderCallAvailable())
        return std::nullopt;
    const auto localAppData = system.knownFolder(KnownFolder::LocalAppData);
    const auto downloads = system.knownFolder(KnownFolder::Downloads);
    const auto publicDownloads = system.knownFolder(KnownFolder::PublicDownloads);
    const auto programData = system.knownFolder(KnownFolder::ProgramData);
    if (!localAppData || !downloads || !publicDownloads || !programData)
        return std::nullopt;
    if (characterCount(*localAppData) >= maxAppDataLength ||
        characterCount(*downloads) >= maxDocumentsLength ||
        characterCount(*programData) >= maxAppDataLength ||
        characterCount(*publicDownloads) >= maxDocumentsLength)
        return std::nullopt;
    const std::string local = paths.withSeparator(*localAppData);
    const std::string common = paths.withSeparator(*programData);

    int mode = setting;
    if (mode == settingUnknown) {
        const bool perUserFound = files.fileExists(paths.preferencesUnder(local));
        if (!perUserFound && files.fileExists(paths.preferencesUnder(common)))
            mode = settingAllUsers;
        else if (perUserFound || !configInEmuleFolder)
            mode = settingPerUser;
    }
    if (mode == settingPerUser)
        return underBase(paths, local);
    if (mode == settingAllUsers)
        return underBase(paths, common);
    return std::nullopt;
}

std::optional<tFolderChoice> shellFolderChoice(SystemInfo& system, FileSystem& files,
                                               const tPathRules& paths, int setting,
                                               bool configInEmuleFolder) {
    const auto appData = system.shellFolder(ShellFolder::AppData);
    const auto personal = system.shellFolder(ShellFolder::Personal);
    if (!appData || !personal || characterCount(*appData) >= maxAppDataLength ||
        characterCount(*personal) >= maxDocumentsLength)
        return std::nullopt;
    const std::string roaming = paths.withSeparator(*appData);
    if (setting == settingPerUser || (setting == settingUnknown && !configInEmuleFolder &&
                                      files.fileExists(paths.preferencesUnder(roaming))))
        return underBase(paths, roaming);
    return std::nullopt;
}

std::optional<tFolderChoice> userFolderChoice(SystemInfo& system, FileSystem& files,
                                              const tPathRules& paths, std::uint16_t windowsVersion,
                                              const std::string& eMuleFolder) {
    if (windowsVersion == windows95)
        return std::nullopt;
    const bool configInEmuleFolder =
        files.fileExists(paths.folder(eMuleFolder, "config") + "preferences.ini");
    const int setting = sharingSetting(system);
    if (!shouldLookAtUserFolders(setting, configInEmuleFolder, windowsVersion))
        return std::nullopt;
    if (!system.shellAvailable())
        return std::nullopt;
    if (windowsVersion == windowsVista)
        return knownFolderChoice(system, files, paths, setting, configInEmuleFolder);
    return shellFolderChoice(system, files, paths, setting, configInEmuleFolder);
}

bool ensureFolder(FileSystem& files, const std::string& folder) {
    if (files.folderExists(folder))
        return true;
    files.createFolder(folder);
    return files.folderExists(folder);
}

void placeFolders(tLocations& loc, FileSystem& files, const tPathRules& paths,
                  const tFolderChoice& chosen) {
    loc.eMuleConfigBase = chosen.config;
    loc.eMuleConfigFolder = paths.folder(chosen.config, "config");
    loc.dataFolder = chosen.data;
    loc.logsFolder = paths.folder(chosen.data, "PLN logs");
    loc.messagePrefix = messagePrefixOf(files, loc.eMuleConfigFolder);
}

} // namespace

std::string messagePrefixOf(FileSystem& files, const std::string& configFolder) {
    std::string prefix = files.canonicalFolder(configFolder);
    std::replace(prefix.begin(), prefix.end(), '\\', '/');
    return prefix;
}

tLocations ruleLocations(SystemInfo& system, FileSystem& files, std::uint16_t windowsVersion) {
    const tPathRules paths(system.pathSeparator());
    tLocations loc;
    loc.programFolder = paths.folderOf(system.executablePath());
    loc.eMuleFolder = paths.parentOf(loc.programFolder);

    tFolderChoice chosen{loc.eMuleFolder, loc.programFolder};
    if (auto user = userFolderChoice(system, files, paths, windowsVersion, loc.eMuleFolder))
        chosen = std::move(*user);
    placeFolders(loc, files, paths, chosen);
    return loc;
}

tLocations namedConfigLocations(FileSystem& files, const std::string& configFolder,
                                const std::string& programFolder, char separator) {
    const tPathRules paths(separator);
    tLocations loc;
    loc.programFolder = programFolder;
    const std::string base = paths.parentOf(paths.withSeparator(configFolder));
    // Beside eMule.exe the folder is eMule's program folder, whose viewer
    // keeps its data in "PLN" inside it; any other folder is a user's
    // "eMule" folder, with "PLN" beside it.
    loc.eMuleFolder = files.fileExists(base + "eMule.exe") ? base : paths.parentOf(base);
    placeFolders(loc, files, paths, {base, paths.folder(loc.eMuleFolder, "PLN")});
    // The folder named keeps its own name, which need not be "config".
    loc.eMuleConfigFolder = paths.withSeparator(configFolder);
    loc.messagePrefix = messagePrefixOf(files, loc.eMuleConfigFolder);
    return loc;
}

bool holdsEmuleFiles(FileSystem& files, const tLocations& locations) {
    return files.fileExists(locations.eMuleConfigFolder + "known.met") &&
           files.fileExists(locations.eMuleConfigFolder + "preferences.ini");
}

tLocationsOutcome withDataFolders(FileSystem& files, tLocations locations) {
    for (const std::string* folder : {&locations.dataFolder, &locations.logsFolder})
        if (!ensureFolder(files, *folder))
            return tStartupEnd{format(missingDataFolderMessage, {*folder})};
    return locations;
}

tLocationsOutcome resolveLocations(SystemInfo& system, FileSystem& files,
                                   std::uint16_t windowsVersion) {
    tLocations loc = ruleLocations(system, files, windowsVersion);
    if (!holdsEmuleFiles(files, loc))
        return tStartupEnd{format(missingEmuleFilesMessage, {"PLN", "PLN", "PLN\\"})};
    return withDataFolders(files, std::move(loc));
}

} // namespace pln
