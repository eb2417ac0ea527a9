#include "app/core/locations.h"
#include "app/core/windows_version.h"
#include "platform/fake_platform.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace pln {
namespace {

// Counts the questions the location rule asks, so that rows can tell which
// sources were consulted at all.
struct CountingSystemInfo : FakeSystemInfo {
    int registryReads = 0;
    int userFolderQueries = 0;

    std::optional<std::int32_t> emuleRegistryInt(const std::string& name) override {
        ++registryReads;
        return FakeSystemInfo::emuleRegistryInt(name);
    }
    std::optional<std::string> knownFolder(KnownFolder folder) override {
        ++userFolderQueries;
        return FakeSystemInfo::knownFolder(folder);
    }
    std::optional<std::string> shellFolder(ShellFolder folder) override {
        ++userFolderQueries;
        return FakeSystemInfo::shellFolder(folder);
    }
};

// The four places eMule may keep its configuration.
enum class Base { EmuleFolder, LocalAppData, ProgramData, AppData };

const std::string emuleFolder = "C:\\Program Files\\eMule\\";
const std::string programFolder = emuleFolder + "PLN\\";

struct Machine {
    CountingSystemInfo system;
    FakeFileSystem files;

    Machine() {
        system.executable = programFolder + "PLNViewer.exe";
        known(KnownFolder::LocalAppData, "C:\\Users\\ann\\AppData\\Local");
        known(KnownFolder::Downloads, "C:\\Users\\ann\\Downloads");
        known(KnownFolder::PublicDownloads, "C:\\Users\\Public\\Downloads");
        known(KnownFolder::ProgramData, "C:\\ProgramData");
        shell(ShellFolder::AppData, "C:\\Documents and Settings\\ann\\Application Data");
        shell(ShellFolder::Personal, "C:\\Documents and Settings\\ann\\My Documents");
        files.folders.insert("C:\\Program Files\\eMule\\PLN");
    }

    void known(KnownFolder folder, const std::string& path) {
        system.knownFolders[folder] = path;
        files.folders.insert(path);
    }
    void shell(ShellFolder folder, const std::string& path) {
        system.shellFolders[folder] = path;
        files.folders.insert(path);
    }
    // A path of so many characters, each spelled by `fill`.
    static std::string pathOf(std::size_t characters, const std::string& fill) {
        std::string path = "C:\\";
        for (std::size_t i = 3; i < characters; ++i)
            path += fill;
        return path;
    }

    // The user folder holding a base's "eMule\" and "PLN\"; eMule's own folder
    // holds "config\" itself, beside the viewer's folder.
    std::string userFolder(Base base) {
        if (base == Base::AppData)
            return system.shellFolders[ShellFolder::AppData] + "\\";
        return system.knownFolders[base == Base::LocalAppData ? KnownFolder::LocalAppData
                                                              : KnownFolder::ProgramData] +
               "\\";
    }
    std::string configBase(Base base) {
        return base == Base::EmuleFolder ? emuleFolder : userFolder(base) + "eMule\\";
    }
    std::string dataFolder(Base base) {
        return base == Base::EmuleFolder ? programFolder : userFolder(base) + "PLN\\";
    }
    void placeEmuleFiles(Base base) {
        for (const char* file : {"preferences.ini", "known.met"})
            files.files.insert(configBase(base) + "config\\" + file);
    }

    tLocationsOutcome resolve(std::uint16_t version) {
        return resolveLocations(system, files, version);
    }
};

using Adjust = void (*)(Machine&);
using K = KnownFolder;
using S = ShellFolder;
// Folders at and just under the length limits; characters count, not bytes.
const Adjust localAppData230 = [](Machine& m) { m.known(K::LocalAppData, m.pathOf(230, "l")); };
const Adjust localAppData229 = [](Machine& m) { m.known(K::LocalAppData, m.pathOf(229, "l")); };
const Adjust downloads220 = [](Machine& m) { m.known(K::Downloads, m.pathOf(220, "d")); };
const Adjust publicDownloads220 = [](Machine& m) {
    m.known(K::PublicDownloads, m.pathOf(220, "p"));
};
const Adjust programData229Wide = [](Machine& m) {
    m.known(K::ProgramData, m.pathOf(229, "\xC3\xA9"));
};
const Adjust appData230 = [](Machine& m) { m.shell(S::AppData, m.pathOf(230, "a")); };
const Adjust personal220 = [](Machine& m) { m.shell(S::Personal, m.pathOf(220, "m")); };
const Adjust noKnownFolderCall = [](Machine& m) { m.system.knownFolderCall = false; };
const Adjust noPublicDownloads = [](Machine& m) {
    m.system.knownFolders.erase(K::PublicDownloads);
};
const Adjust noShell = [](Machine& m) { m.system.shell = false; };
const Adjust noPersonal = [](Machine& m) { m.system.shellFolders.erase(S::Personal); };

struct LocationRow {
    const char* name;
    std::uint16_t windowsVersion;
    std::optional<int> usePublicUserDirectories;
    std::set<Base> emuleFilesIn;
    Base expected;
    Adjust adjust = nullptr;
    bool asksRegistry = true;
    bool asksUserFolders = true;
};

constexpr Base E = Base::EmuleFolder, L = Base::LocalAppData, P = Base::ProgramData,
               A = Base::AppData;
constexpr std::uint16_t vista = windowsVista, xp = windowsXp;

const LocationRow locationRows[] = {
    {"VistaAbsentPrefersLocalAppData", vista, {}, {L, P, E}, L},
    {"VistaAbsentThenProgramData", vista, {}, {P, E}, P},
    {"VistaAbsentThenEmuleFolder", vista, {}, {E}, E},
    {"VistaSetting0", vista, 0, {L, P, E}, L},
    {"VistaSetting1", vista, 1, {P, L, E}, P},
    {"VistaSetting2", vista, 2, {E, L}, E, nullptr, true, false},
    {"VistaSettingMinus1", vista, -1, {P}, P},
    {"VistaSetting7ActsAsAbsent", vista, 7, {P, E}, P},
    {"VistaSettingMinus2ActsAsAbsent", vista, -2, {E}, E},
    {"VistaLocalAppData230KeepsDefaults", vista, 0, {E, L}, E, localAppData230},
    {"VistaLocalAppData229IsUsed", vista, 0, {L}, L, localAppData229},
    {"VistaDownloads220KeepsDefaults", vista, 0, {E, L}, E, downloads220},
    {"VistaPublicDownloads220KeepsDefaults", vista, 1, {E, P}, E, publicDownloads220},
    {"VistaProgramDataCountsCharacters", vista, 1, {P}, P, programData229Wide},
    {"VistaKnownFolderCallMissing", vista, 0, {E, L}, E, noKnownFolderCall, true, false},
    {"VistaOneKnownFolderFails", vista, 0, {E, L}, E, noPublicDownloads},
    {"VistaShellMissing", vista, 0, {E, L}, E, noShell, true, false},
    {"XpAbsentKeepsEmuleConfig", xp, {}, {E, A}, E, nullptr, true, false},
    {"XpAbsentFindsAppData", xp, {}, {A}, A},
    {"XpSetting0", xp, 0, {A, E}, A},
    {"XpSetting1NotConsulted", xp, 1, {E, A}, E, nullptr, true, false},
    {"XpSetting2", xp, 2, {E, A}, E, nullptr, true, false},
    {"XpAppData230KeepsDefaults", xp, 0, {E, A}, E, appData230},
    {"XpPersonal220KeepsDefaults", xp, 0, {E, A}, E, personal220},
    {"XpPersonalFails", xp, 0, {E, A}, E, noPersonal},
    {"Windows2000Setting0", windows2000, 0, {A}, A},
    {"Windows98Setting0", windows98, 0, {A}, A},
    {"UnknownVersionAbsent", windowsUnknown, {}, {A}, A},
    {"Windows95ReadsNoRegistry", windows95, 0, {E, L, A}, E, nullptr, false, false},
};

void PrintTo(const LocationRow& row, std::ostream* os) {
    *os << row.name;
}

class LocationRule : public testing::TestWithParam<LocationRow> {};

TEST_P(LocationRule, ChoosesConfigurationAndDataFolders) {
    const LocationRow& row = GetParam();
    Machine m;
    if (row.usePublicUserDirectories)
        m.system.registry["UsePublicUserDirectories"] = *row.usePublicUserDirectories;
    if (row.adjust)
        row.adjust(m);
    for (Base base : row.emuleFilesIn)
        m.placeEmuleFiles(base);

    auto outcome = m.resolve(row.windowsVersion);

    ASSERT_TRUE(std::holds_alternative<tLocations>(outcome))
        << std::get<tStartupEnd>(outcome).message;
    const auto& loc = std::get<tLocations>(outcome);
    const std::string config = m.configBase(row.expected);
    EXPECT_EQ(loc.eMuleConfigBase, config);
    EXPECT_EQ(loc.eMuleConfigFolder, config + "config\\");
    EXPECT_EQ(loc.dataFolder, m.dataFolder(row.expected));
    EXPECT_EQ(loc.logsFolder, m.dataFolder(row.expected) + "PLN logs\\");
    EXPECT_EQ(loc.programFolder, programFolder);
    EXPECT_EQ(loc.eMuleFolder, emuleFolder);
    std::string prefix = loc.eMuleConfigFolder;
    std::replace(prefix.begin(), prefix.end(), '\\', '/');
    EXPECT_EQ(loc.messagePrefix, prefix);
    EXPECT_TRUE(m.files.folderExists(loc.logsFolder));
    EXPECT_EQ(m.system.registryReads > 0, row.asksRegistry);
    EXPECT_EQ(m.system.userFolderQueries > 0, row.asksUserFolders);
}

INSTANTIATE_TEST_SUITE_P(Rows, LocationRule, testing::ValuesIn(locationRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Locations, LinuxPathsUseSlashes) {
    FakeSystemInfo system;
    FakeFileSystem files;
    system.separator = '/';
    system.executable = "/opt/emule/pln/PLNViewer";
    system.knownFolders = {{KnownFolder::LocalAppData, "/home/ann/.local/share"},
                           {KnownFolder::Downloads, "/home/ann/Downloads"},
                           {KnownFolder::PublicDownloads, "/home/ann/Public"},
                           {KnownFolder::ProgramData, "/var/lib"}};
    files.folders = {"/home/ann/.local/share"};
    files.files = {"/home/ann/.local/share/eMule/config/known.met",
                   "/home/ann/.local/share/eMule/config/preferences.ini"};

    auto outcome = resolveLocations(system, files, windowsVista);

    ASSERT_TRUE(std::holds_alternative<tLocations>(outcome));
    const tLocations expected{
        "/opt/emule/pln/",
        "/opt/emule/",
        "/home/ann/.local/share/eMule/",
        "/home/ann/.local/share/eMule/config/",
        "/home/ann/.local/share/PLN/",
        "/home/ann/.local/share/PLN/PLN logs/",
        "/home/ann/.local/share/eMule/config/",
    };
    EXPECT_EQ(std::get<tLocations>(outcome), expected);
}

TEST(Locations, ProgramInTheRootUsesTheRootAsEmuleFolder) {
    FakeSystemInfo system;
    FakeFileSystem files;
    system.executable = "D:\\PLNViewer.exe";
    files.folders = {"D:\\"};
    files.files = {"D:\\config\\known.met", "D:\\config\\preferences.ini"};

    auto outcome = resolveLocations(system, files, windows95);

    ASSERT_TRUE(std::holds_alternative<tLocations>(outcome));
    const auto& loc = std::get<tLocations>(outcome);
    EXPECT_EQ(loc.programFolder, "D:\\");
    EXPECT_EQ(loc.eMuleFolder, "D:\\");
    EXPECT_EQ(loc.logsFolder, "D:\\PLN logs\\");
}

TEST(Locations, MissingEmuleFilesEndTheProgram) {
    const std::string message =
        "Cannot find known.met or preferences.ini.\r\n\r\nPlease make sure that:\r\n\r\n- PLN "
        "executables are installed in an \"PLN\" subfolder inside your eMule directory.\r\n"
        "Typically: \"C:\\Program files\\eMule\\PLN\\\"\r\n\r\n- Emule has been started at least "
        "once with the currently selected setting in Options > Extended > Sharing eMule with other "
        "computer users (or simply that eMule has been started at least once, if older than "
        "v0.48a)";
    for (const char* present : {"known.met", "preferences.ini"}) {
        Machine m;
        m.files.files.insert(emuleFolder + "config\\" + present);
        auto outcome = m.resolve(windows95);
        ASSERT_TRUE(std::holds_alternative<tStartupEnd>(outcome)) << present;
        EXPECT_EQ(std::get<tStartupEnd>(outcome).message, message);
        EXPECT_FALSE(m.files.folderExists(programFolder + "PLN logs")) << present;
    }
}

TEST(Locations, FoldersThatCannotBeCreatedEndTheProgram) {
    Machine noParent;
    noParent.placeEmuleFiles(Base::LocalAppData);
    noParent.files.folders.erase("C:\\Users\\ann\\AppData\\Local");
    auto outcome = noParent.resolve(windowsVista);
    ASSERT_TRUE(std::holds_alternative<tStartupEnd>(outcome));
    EXPECT_EQ(std::get<tStartupEnd>(outcome).message,
              "Cannot find or create logs directory \"C:\\Users\\ann\\AppData\\Local\\PLN\\\"");

    Machine logsRefused;
    logsRefused.placeEmuleFiles(Base::EmuleFolder);
    logsRefused.files.failCreate.insert(programFolder + "PLN logs");
    outcome = logsRefused.resolve(windows95);
    ASSERT_TRUE(std::holds_alternative<tStartupEnd>(outcome));
    EXPECT_EQ(std::get<tStartupEnd>(outcome).message,
              "Cannot find or create logs directory \"C:\\Program Files\\eMule\\PLN\\PLN logs\\\"");
}

struct VersionRow {
    const char* name;
    std::optional<OsVersion> answer;
    std::uint16_t expected;
};

const VersionRow versionRows[] = {
    {"Refused", std::nullopt, windowsUnknown},
    {"Windows95", OsVersion{1, 4, 0}, 4},
    {"Windows98", OsVersion{1, 4, 10}, 0x0A04},
    {"WindowsMe", OsVersion{1, 4, 90}, 0x5A04},
    {"ConsumerOtherMinor", OsVersion{1, 4, 3}, 4},
    {"ConsumerOtherMajor", OsVersion{1, 5, 10}, 4},
    {"Nt351", OsVersion{2, 3, 51}, 4},
    {"Nt4", OsVersion{2, 4, 0}, 4},
    {"Windows2000", OsVersion{2, 5, 0}, 5},
    {"WindowsXp", OsVersion{2, 5, 1}, 0x0105},
    {"Server2003", OsVersion{2, 5, 2}, 0x0205},
    {"Nt53", OsVersion{2, 5, 3}, 6},
    {"Vista", OsVersion{2, 6, 0}, 6},
    {"Windows10", OsVersion{2, 10, 0}, 6},
    {"OtherPlatform", OsVersion{3, 10, 0}, 4},
};

void PrintTo(const VersionRow& row, std::ostream* os) {
    *os << row.name;
}

class WindowsVersion : public testing::TestWithParam<VersionRow> {};

TEST_P(WindowsVersion, CodesTheAnswer) {
    FakeSystemInfo system;
    system.version = GetParam().answer;
    EXPECT_EQ(getWindowsVersion(system), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, WindowsVersion, testing::ValuesIn(versionRows),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace pln
