#include "app/core/locations.h"
#include "app/core/windows_version.h"
#include "platform/fake_platform.h"

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
        system.knownFolders = {
            {KnownFolder::LocalAppData, "C:\\Users\\ann\\AppData\\Local"},
            {KnownFolder::Downloads, "C:\\Users\\ann\\Downloads"},
            {KnownFolder::PublicDownloads, "C:\\Users\\Public\\Downloads"},
            {KnownFolder::ProgramData, "C:\\ProgramData"},
        };
        system.shellFolders = {
            {ShellFolder::AppData, "C:\\Documents and Settings\\ann\\Application Data"},
            {ShellFolder::Personal, "C:\\Documents and Settings\\ann\\My Documents"},
        };
        for (const auto& [kind, path] : system.knownFolders)
            files.folders.insert(path);
        for (const auto& [kind, path] : system.shellFolders)
            files.folders.insert(path);
        files.folders.insert("C:\\Program Files\\eMule\\PLN");
    }

    // The folder holding "config\" for a base; empty when the system does
    // not name that base.
    std::string configBase(Base base) {
        auto under = [](const std::optional<std::string>& folder) {
            return folder ? *folder + "\\eMule\\" : std::string();
        };
        switch (base) {
        case Base::EmuleFolder:
            return emuleFolder;
        case Base::LocalAppData:
            return under(system.FakeSystemInfo::knownFolder(KnownFolder::LocalAppData));
        case Base::ProgramData:
            return under(system.FakeSystemInfo::knownFolder(KnownFolder::ProgramData));
        case Base::AppData:
            return under(system.FakeSystemInfo::shellFolder(ShellFolder::AppData));
        }
        return {};
    }

    std::string dataFolder(Base base) {
        if (base == Base::EmuleFolder)
            return programFolder;
        std::string config = configBase(base);
        return config.substr(0, config.size() - std::string("eMule\\").size()) + "PLN\\";
    }

    void placeEmuleFiles(Base base) {
        const std::string config = configBase(base);
        if (config.empty())
            return;
        files.files.insert(config + "config\\preferences.ini");
        files.files.insert(config + "config\\known.met");
    }

    tLocationsOutcome resolve(std::uint16_t version) {
        return resolveLocations(system, files, version);
    }
};

struct LocationRow {
    const char* name;
    std::uint16_t windowsVersion;
    std::optional<int> usePublicUserDirectories;
    std::set<Base> emuleFilesIn;
    Base expected;
    bool asksRegistry = true;
    bool asksUserFolders = true;
    void (*adjust)(Machine&) = nullptr;
};

void longLocalAppData(Machine& m) {
    m.system.knownFolders[KnownFolder::LocalAppData] = "C:\\" + std::string(227, 'l');
}
void localAppDataJustShortEnough(Machine& m) {
    m.system.knownFolders[KnownFolder::LocalAppData] = "C:\\" + std::string(226, 'l');
    m.files.folders.insert(m.system.knownFolders[KnownFolder::LocalAppData]);
}
void longDownloads(Machine& m) {
    m.system.knownFolders[KnownFolder::Downloads] = "C:\\" + std::string(217, 'd');
}
void longPublicDownloads(Machine& m) {
    m.system.knownFolders[KnownFolder::PublicDownloads] = "C:\\" + std::string(217, 'p');
}
void longProgramData(Machine& m) {
    // Characters, not bytes: 229 characters in more bytes still fit.
    std::string path = "C:\\";
    for (int i = 0; i < 226; ++i)
        path += "\xC3\xA9";
    m.system.knownFolders[KnownFolder::ProgramData] = path;
    m.files.folders.insert(path);
}
void knownFolderCallMissing(Machine& m) {
    m.system.knownFolderCall = false;
}
void publicDownloadsFails(Machine& m) {
    m.system.knownFolders.erase(KnownFolder::PublicDownloads);
}
void shellMissing(Machine& m) {
    m.system.shell = false;
}
void longAppData(Machine& m) {
    m.system.shellFolders[ShellFolder::AppData] = "C:\\" + std::string(227, 'a');
}
void longPersonal(Machine& m) {
    m.system.shellFolders[ShellFolder::Personal] = "C:\\" + std::string(217, 'm');
}
void personalFails(Machine& m) {
    m.system.shellFolders.erase(ShellFolder::Personal);
}

using B = Base;

const LocationRow locationRows[] = {
    {"VistaAbsentPrefersLocalAppData",
     windowsVista,
     {},
     {B::LocalAppData, B::ProgramData, B::EmuleFolder},
     B::LocalAppData},
    {"VistaAbsentThenProgramData",
     windowsVista,
     {},
     {B::ProgramData, B::EmuleFolder},
     B::ProgramData},
    {"VistaAbsentThenEmuleFolder", windowsVista, {}, {B::EmuleFolder}, B::EmuleFolder},
    {"VistaSetting0",
     windowsVista,
     0,
     {B::LocalAppData, B::ProgramData, B::EmuleFolder},
     B::LocalAppData},
    {"VistaSetting1",
     windowsVista,
     1,
     {B::ProgramData, B::LocalAppData, B::EmuleFolder},
     B::ProgramData},
    {"VistaSetting2",
     windowsVista,
     2,
     {B::EmuleFolder, B::LocalAppData},
     B::EmuleFolder,
     true,
     false},
    {"VistaSettingMinus1", windowsVista, -1, {B::ProgramData}, B::ProgramData},
    {"VistaSetting7ActsAsAbsent",
     windowsVista,
     7,
     {B::ProgramData, B::EmuleFolder},
     B::ProgramData},
    {"VistaSettingMinus2ActsAsAbsent", windowsVista, -2, {B::EmuleFolder}, B::EmuleFolder},
    {"VistaLocalAppData230KeepsDefaults",
     windowsVista,
     0,
     {B::EmuleFolder, B::LocalAppData},
     B::EmuleFolder,
     true,
     true,
     longLocalAppData},
    {"VistaLocalAppData229IsUsed",
     windowsVista,
     0,
     {B::LocalAppData},
     B::LocalAppData,
     true,
     true,
     localAppDataJustShortEnough},
    {"VistaDownloads220KeepsDefaults",
     windowsVista,
     0,
     {B::EmuleFolder, B::LocalAppData},
     B::EmuleFolder,
     true,
     true,
     longDownloads},
    {"VistaPublicDownloads220KeepsDefaults",
     windowsVista,
     1,
     {B::EmuleFolder, B::ProgramData},
     B::EmuleFolder,
     true,
     true,
     longPublicDownloads},
    {"VistaProgramDataCountsCharacters",
     windowsVista,
     1,
     {B::ProgramData},
     B::ProgramData,
     true,
     true,
     longProgramData},
    {"VistaKnownFolderCallMissing",
     windowsVista,
     0,
     {B::EmuleFolder, B::LocalAppData},
     B::EmuleFolder,
     true,
     false,
     knownFolderCallMissing},
    {"VistaOneKnownFolderFails",
     windowsVista,
     0,
     {B::EmuleFolder, B::LocalAppData},
     B::EmuleFolder,
     true,
     true,
     publicDownloadsFails},
    {"VistaShellMissing",
     windowsVista,
     0,
     {B::EmuleFolder, B::LocalAppData},
     B::EmuleFolder,
     true,
     false,
     shellMissing},
    {"XpAbsentKeepsEmuleConfig",
     windowsXp,
     {},
     {B::EmuleFolder, B::AppData},
     B::EmuleFolder,
     true,
     false},
    {"XpAbsentFindsAppData", windowsXp, {}, {B::AppData}, B::AppData},
    {"XpSetting0", windowsXp, 0, {B::AppData, B::EmuleFolder}, B::AppData},
    {"XpSetting1NotConsulted",
     windowsXp,
     1,
     {B::EmuleFolder, B::AppData},
     B::EmuleFolder,
     true,
     false},
    {"XpSetting2", windowsXp, 2, {B::EmuleFolder, B::AppData}, B::EmuleFolder, true, false},
    {"XpAppData230KeepsDefaults",
     windowsXp,
     0,
     {B::EmuleFolder, B::AppData},
     B::EmuleFolder,
     true,
     true,
     longAppData},
    {"XpPersonal220KeepsDefaults",
     windowsXp,
     0,
     {B::EmuleFolder, B::AppData},
     B::EmuleFolder,
     true,
     true,
     longPersonal},
    {"XpPersonalFails",
     windowsXp,
     0,
     {B::EmuleFolder, B::AppData},
     B::EmuleFolder,
     true,
     true,
     personalFails},
    {"Windows2000Setting0", windows2000, 0, {B::AppData}, B::AppData},
    {"Windows98Setting0", windows98, 0, {B::AppData}, B::AppData},
    {"UnknownVersionAbsent", windowsUnknown, {}, {B::AppData}, B::AppData},
    {"Windows95ReadsNoRegistry",
     windows95,
     0,
     {B::EmuleFolder, B::LocalAppData, B::AppData},
     B::EmuleFolder,
     false,
     false},
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
    EXPECT_TRUE(m.files.folderExists(loc.logsFolder));
    EXPECT_EQ(m.system.registryReads > 0, row.asksRegistry);
    EXPECT_EQ(m.system.userFolderQueries > 0, row.asksUserFolders);
}

INSTANTIATE_TEST_SUITE_P(Rows, LocationRule, testing::ValuesIn(locationRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Locations, EveryFolderOfAPerUserConfiguration) {
    Machine m;
    m.placeEmuleFiles(Base::LocalAppData);
    auto outcome = m.resolve(windowsVista);
    ASSERT_TRUE(std::holds_alternative<tLocations>(outcome));
    const tLocations expected{
        "C:\\Program Files\\eMule\\PLN\\",
        "C:\\Program Files\\eMule\\",
        "C:\\Users\\ann\\AppData\\Local\\eMule\\",
        "C:\\Users\\ann\\AppData\\Local\\eMule\\config\\",
        "C:\\Users\\ann\\AppData\\Local\\PLN\\",
        "C:\\Users\\ann\\AppData\\Local\\PLN\\PLN logs\\",
        "C:/Users/ann/AppData/Local/eMule/config/",
    };
    EXPECT_EQ(std::get<tLocations>(outcome), expected);
}

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

} // namespace
} // namespace pln
