#include "app/core/load_cycle.h"
#include "app/core/process_values.h"
#include "app/core/startup.h"
#include "app/core/windows_version.h"
#include "platform/fake_platform.h"
#include "platform/platform.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <span>

namespace pln {
namespace {

// eMule's configuration lies in its own folder, LocalAppData, ProgramData or AppData.
enum Base { E, L, P, A };
using K = KnownFolder;
using S = ShellFolder;

const std::string emuleFolder = "C:\\Program Files\\eMule\\";
const std::string programFolder = emuleFolder + "PLN\\";

struct Machine {
    FakeSystemInfo system;
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
    static std::string pathOf(std::size_t characters, const std::string& fill) {
        std::string path = "C:\\";
        for (std::size_t i = 3; i < characters; ++i)
            path += fill;
        return path;
    }

    // The user folder holding a base's "eMule\" and "PLN\"; eMule's own folder
    // holds "config\" itself, beside the viewer's folder.
    std::string userFolder(Base base) {
        if (base == A)
            return system.shellFolders[S::AppData] + "\\";
        return system.knownFolders[base == L ? K::LocalAppData : K::ProgramData] + "\\";
    }
    std::string configBase(Base b) { return b == E ? emuleFolder : userFolder(b) + "eMule\\"; }
    std::string dataFolder(Base b) { return b == E ? programFolder : userFolder(b) + "PLN\\"; }
    void placeEmuleFiles(Base base) {
        for (const char* file : {"preferences.ini", "known.met"})
            files.files.insert(configBase(base) + "config\\" + file);
    }
};

using Adjust = void (*)(Machine&);
// Folders at and just under the length limits; characters count, not bytes.
const Adjust localAppData230 = [](Machine& m) { m.known(K::LocalAppData, m.pathOf(230, "l")); };
const Adjust localAppData229 = [](Machine& m) { m.known(K::LocalAppData, m.pathOf(229, "l")); };
const Adjust downloads220 = [](Machine& m) { m.known(K::Downloads, m.pathOf(220, "d")); };
const Adjust public220 = [](Machine& m) { m.known(K::PublicDownloads, m.pathOf(220, "p")); };
const Adjust wide229 = [](Machine& m) { m.known(K::ProgramData, m.pathOf(229, "\xC3\xA9")); };
const Adjust appData230 = [](Machine& m) { m.shell(S::AppData, m.pathOf(230, "a")); };
const Adjust personal220 = [](Machine& m) { m.shell(S::Personal, m.pathOf(220, "m")); };
const Adjust noKnownFolderCall = [](Machine& m) { m.system.knownFolderCall = false; };
const Adjust noPublic = [](Machine& m) { m.system.knownFolders.erase(K::PublicDownloads); };
const Adjust noShell = [](Machine& m) { m.system.shell = false; };
const Adjust noPersonal = [](Machine& m) { m.system.shellFolders.erase(S::Personal); };

// A row's name, the system, eMule's "UsePublicUserDirectories", the bases
// holding eMule's files, the base expected and a change to the machine.
using LocationRow =
    std::tuple<const char*, std::uint16_t, std::optional<int>, std::set<Base>, Base, Adjust>;

constexpr std::uint16_t vista = windowsVista, xp = windowsXp;

const LocationRow locationRows[] = {
    {"VistaAbsentPrefersLocalAppData", vista, {}, {L, P, E}, L, {}},
    {"VistaAbsentThenProgramData", vista, {}, {P, E}, P, {}},
    {"VistaAbsentThenEmuleFolder", vista, {}, {E}, E, {}},
    {"VistaSetting0", vista, 0, {L, P, E}, L, {}},
    {"VistaSetting1", vista, 1, {P, L, E}, P, {}},
    {"VistaSetting2", vista, 2, {E, L}, E, {}},
    {"VistaSettingMinus1", vista, -1, {P}, P, {}},
    {"VistaSetting7ActsAsAbsent", vista, 7, {P, E}, P, {}},
    {"VistaSettingMinus2ActsAsAbsent", vista, -2, {E}, E, {}},
    {"VistaLocalAppData230KeepsDefaults", vista, 0, {E, L}, E, localAppData230},
    {"VistaLocalAppData229IsUsed", vista, 0, {L}, L, localAppData229},
    {"VistaDownloads220KeepsDefaults", vista, 0, {E, L}, E, downloads220},
    {"VistaPublicDownloads220KeepsDefaults", vista, 1, {E, P}, E, public220},
    {"VistaProgramDataCountsCharacters", vista, 1, {P}, P, wide229},
    {"VistaKnownFolderCallMissing", vista, 0, {E, L}, E, noKnownFolderCall},
    {"VistaOneKnownFolderFails", vista, 0, {E, L}, E, noPublic},
    {"VistaShellMissing", vista, 0, {E, L}, E, noShell},
    {"XpAbsentKeepsEmuleConfig", xp, {}, {E, A}, E, {}},
    {"XpAbsentFindsAppData", xp, {}, {A}, A, {}},
    {"XpSetting0", xp, 0, {A, E}, A, {}},
    {"XpSetting1NotConsulted", xp, 1, {E, A}, E, {}},
    {"XpSetting2", xp, 2, {E, A}, E, {}},
    {"XpAppData230KeepsDefaults", xp, 0, {E, A}, E, appData230},
    {"XpPersonal220KeepsDefaults", xp, 0, {E, A}, E, personal220},
    {"XpPersonalFails", xp, 0, {E, A}, E, noPersonal},
    {"Windows2000Setting0", windows2000, 0, {A}, A, {}},
    {"Windows98Setting0", windows98, 0, {A}, A, {}},
    {"UnknownVersionAbsent", windowsUnknown, {}, {A}, A, {}},
    {"Windows95ReadsNoRegistry", windows95, 0, {E, L, A}, E, {}},
};

tLocations locationsFor(const std::string& config) {
    tLocations loc;
    loc.programFolder = programFolder;
    loc.dataFolder = "C:\\Users\\ann\\AppData\\Local\\PLN\\";
    loc.eMuleConfigFolder = loc.messagePrefix = config;
    std::replace(loc.messagePrefix.begin(), loc.messagePrefix.end(), '\\', '/');
    return loc;
}

TEST(Locations, RuleChoosesConfigurationAndDataFolders) {
    for (const auto& [name, version, setting, filesIn, expected, adjust] : locationRows) {
        SCOPED_TRACE(name);
        Machine m;
        if (setting)
            m.system.registry["UsePublicUserDirectories"] = *setting;
        if (adjust)
            adjust(m);
        for (Base base : filesIn)
            m.placeEmuleFiles(base);

        auto outcome = resolveLocations(m.system, m.files, version);

        ASSERT_TRUE(std::holds_alternative<tLocations>(outcome))
            << std::get<tStartupEnd>(outcome).message;
        const auto& loc = std::get<tLocations>(outcome);
        const std::string config = m.configBase(expected), data = m.dataFolder(expected);
        EXPECT_EQ(std::tie(loc.eMuleConfigBase, loc.eMuleConfigFolder, loc.dataFolder,
                           loc.logsFolder, loc.programFolder, loc.eMuleFolder),
                  std::tuple(config, config + "config\\", data, data + "PLN logs\\", programFolder,
                             emuleFolder));
        EXPECT_EQ(loc.messagePrefix, locationsFor(loc.eMuleConfigFolder).messagePrefix);
        EXPECT_TRUE(m.files.folderExists(loc.logsFolder));
    }

    // A program in the root takes the root as eMule's folder.
    Machine m;
    m.system.executable = "D:\\PLNViewer.exe";
    m.files.folders = {"D:\\"};
    m.files.files = {"D:\\config\\known.met", "D:\\config\\preferences.ini"};
    const auto loc = std::get<tLocations>(resolveLocations(m.system, m.files, windows95));
    EXPECT_EQ(std::tie(loc.programFolder, loc.eMuleFolder, loc.logsFolder),
              std::tuple("D:\\", "D:\\", "D:\\PLN logs\\"));
}

// Without both of eMule's files, or when the data or logs folder cannot be
// made, the program ends; a refusal creates nothing.
TEST(Locations, MissingFilesOrFoldersEndTheProgram) {
    const std::string noFiles =
        "Cannot find known.met or preferences.ini.\r\n\r\nPlease make sure that:\r\n\r\n- PLN "
        "executables are installed in an \"PLN\" subfolder inside your eMule directory.\r\n"
        "Typically: \"C:\\Program files\\eMule\\PLN\\\"\r\n\r\n- Emule has been started at least "
        "once with the currently selected setting in Options > Extended > Sharing eMule with other "
        "computer users (or simply that eMule has been started at least once, if older than "
        "v0.48a)";
    // The one eMule file present (null: both, in the base), the base, the
    // folder that cannot be made and the system.
    const std::tuple<const char*, Base, std::string, std::uint16_t> rows[] = {
        {"known.met", E, "", windows95},
        {"preferences.ini", E, "", windows95},
        {nullptr, L, "C:\\Users\\ann\\AppData\\Local\\PLN", vista},
        {nullptr, E, programFolder + "PLN logs", windows95}};
    for (const auto& [only, base, refused, version] : rows) {
        Machine m;
        if (only)
            m.files.files.insert(emuleFolder + "config\\" + only);
        else
            m.placeEmuleFiles(base);
        m.files.failCreate.insert(refused);
        auto outcome = resolveLocations(m.system, m.files, version);
        ASSERT_TRUE(std::holds_alternative<tStartupEnd>(outcome)) << refused;
        EXPECT_EQ(std::get<tStartupEnd>(outcome).message,
                  only ? noFiles : "Cannot find or create logs directory \"" + refused + "\\\"");
        EXPECT_FALSE(m.files.folderExists(programFolder + "PLN logs")) << refused;
    }
}

// Platform 1 is Windows 9x, 2 Windows NT; others read as Windows 95.
TEST(WindowsVersion, CodesTheSystemsAnswer) {
    using V = OsVersion;
    const std::pair<std::optional<V>, std::uint16_t> rows[] = {
        {std::nullopt, windowsUnknown}, {V{1, 4, 0}, windows95},         {V{1, 4, 10}, windows98},
        {V{1, 4, 90}, windowsMe},       {V{1, 4, 3}, windows95},         {V{1, 5, 10}, windows95},
        {V{2, 3, 51}, windows95},       {V{2, 4, 0}, windows95},         {V{2, 5, 0}, windows2000},
        {V{2, 5, 1}, windowsXp},        {V{2, 5, 2}, windowsServer2003}, {V{2, 5, 3}, windowsVista},
        {V{2, 6, 0}, windowsVista},     {V{2, 10, 0}, windowsVista},     {V{3, 10, 0}, windows95},
    };
    for (const auto& [answer, expected] : rows) {
        FakeSystemInfo system;
        system.version = answer;
        EXPECT_EQ(getWindowsVersion(system), expected)
            << (answer ? answer->platformId * 1000 + answer->major * 100 + answer->minor : -1);
    }
}

const std::string viewerName = "C:/eMule/config/dbed2574-6c42-4b54-8165-ddb3421b4d86_viewer";
const std::string recorderName = "C:/eMule/config/dbed2574-6c42-4b54-8165-ddb3421b4d86_recorder";

// One viewer per configuration and the recorder started unless it runs are
// walked through on the main window; here the names both programs agree
// on, a name the system denies and the folder handed to the recorder.
TEST(Startup, MarksAndRecorderStartOfAConfiguration) {
    FakeMutexService mutexes;
    FakeProcessLauncher processes;
    const auto loc = locationsFor("C:\\eMule\\config\\");
    {
        auto first = claimViewer(mutexes, loc);
        EXPECT_TRUE(mutexes.heldHere.count(viewerName));
        EXPECT_EQ(claimViewer(mutexes, loc), nullptr);
    }
    // Marks the system denies, or that other programs hold: neither starts.
    for (std::set<std::string>* marks : {&mutexes.denied, &mutexes.heldElsewhere}) {
        *marks = {viewerName, recorderName};
        EXPECT_EQ(claimViewer(mutexes, loc), nullptr);
        ensureRecorderRunning(mutexes, processes, loc);
        marks->clear();
    }
    EXPECT_TRUE(processes.started.empty());

    auto named = locationsFor("C:\\My eMule\\config\\");
    named.namedConfig = "C:\\My eMule\\config\\";
    for (const tLocations& at : {loc, named})
        ensureRecorderRunning(mutexes, processes, at);
    using Start = std::pair<std::string, std::string>;
    const std::string recorder = loc.programFolder + recorderExecutable;
    EXPECT_EQ(
        processes.started,
        (std::vector<Start>{{recorder, ""}, {recorder, "--config \"C:\\My eMule\\config\""}}));
}

const std::string iniFile = "C:\\Users\\ann\\AppData\\Local\\PLN\\PLN.ini";

TEST(Settings, StoresInSectionPlnOfTheDataFolderIniFile) {
    FakeIniProfile ini;
    tProcessValues values(locationsFor("C:\\eMule\\config\\"), ini);
    values.settings.set(settingKey::copyFormat, "ed2k://%s");
    values.settings.set(settingKey::showTips, -7);

    EXPECT_EQ(ini.read(iniFile, "PLN", "copyFormat"), "ed2k://%s");
    EXPECT_EQ(ini.read(iniFile, "PLN", "showTips"), "-7");
    EXPECT_EQ(values.settings.get(settingKey::copyFormat), "ed2k://%s");
    EXPECT_EQ(values.settings.get(settingKey::showTips), -7);
    EXPECT_EQ(values.settings.text("absent", "fallback"), "fallback");

    // A write that fails, or a value whose line break would split it into
    // lines of its own, is silent and leaves the stored value.
    values.settings.set(settingKey::copyFormat, "ed2k://%s\r\nshowTips=1");
    EXPECT_EQ(values.settings.get(settingKey::copyFormat), "ed2k://%s");
    ini.failWrite.insert(iniFile);
    EXPECT_NO_THROW(values.settings.set(settingKey::showTips, 3));
    EXPECT_EQ(values.settings.get(settingKey::showTips), -7);

    // Integers are read like profile integers.
    ini.failWrite.clear();
    using Case = std::pair<const char*, int>;
    const Case small[] = {
        {"42", 42},  {"+8", 8},   {"-3", -3}, {"12abc", 12}, {"\t 5", 5}, {"007", 7},
        {"0x10", 0}, {"abc", 99}, {"", 99},   {"-", 99},     {"- 4", 99},
    };
    const Case limits[] = {{"2147483647", INT_MAX},
                           {"-2147483648", INT_MIN},
                           {"2147483648", 99},
                           {"99999999999999999999", 99}};
    using Cases = std::span<const Case>;
    for (Cases cases : {Cases(small), Cases(limits)})
        for (const auto& [text, expected] : cases) {
            ini.write(iniFile, "PLN", "value", text);
            EXPECT_EQ(values.settings.get(tIntSetting{"value", 99}), expected) << text;
        }
    EXPECT_EQ(values.settings.get(tIntSetting{"missing", 17}), 17);

    // The date of the last compression is written only when absent or empty.
    FakeClock clock;
    clock.nowMs = 1'700'000'000'000;
    clock.utcOffsetMs = 3'600'000;
    std::vector<CalendarMs> asked;
    const tDateTimeText text = [&](CalendarMs when) {
        asked.push_back(when);
        return std::string("14/11/2023 23:13:20");
    };
    for (const char* stored : {static_cast<const char*>(nullptr), "", "01/02/2020 10:00:00"}) {
        if (stored)
            values.settings.set(settingKey::lastCompressDate, stored);
        ensureLastCompressDate(values.settings, clock, text);
        EXPECT_EQ(values.settings.get(settingKey::lastCompressDate),
                  stored && *stored ? stored : "Never since 14/11/2023 23:13:20");
    }
    EXPECT_EQ(asked, (std::vector<CalendarMs>{clock.nowLocal(), clock.nowLocal()}));
}

// Absent values (null) take the defaults; nothing is written back either
// way. Numbers are read with a decimal point.
TEST(ProcessValues, StoredValuesOutsideTheirRangeAreMendedButNotRewritten) {
    // Points per pixel as stored and as read, then the compression threshold.
    const std::tuple<const char*, int, const char*, int> cases[] = {
        {"7", 7, "90", 90},   {"0", 1, "0", 30},   {"-5", 1, "-1", 30},      {"11", 10, "1", 1},
        {"1", 1, "400", 400}, {"10", 10, "x", 30}, {nullptr, 4, nullptr, 30}};
    for (const auto& [points, expectedPoints, threshold, expectedThreshold] : cases) {
        SCOPED_TRACE(points ? points : "absent");
        FakeIniProfile ini;
        for (auto [key, text] :
             {std::pair{"pointsPerPixel", points}, std::pair{"compressionThreshold", threshold}})
            if (text)
                ini.write(iniFile, "PLN", key, text);
        const auto before = ini.files;
        tProcessValues values(locationsFor("C:\\eMule\\config\\"), ini);
        values.readSettings();
        EXPECT_EQ(values.pointsPerPixel, expectedPoints);
        EXPECT_EQ(values.compressionThreshold, expectedThreshold);
        EXPECT_EQ(ini.files, before);
    }
    const std::pair<const char*, double> numbers[] = {
        {"0.2", 0.2},   {"0.05", 0.05}, {"+0.1", 0.1}, {"0,2", 0.15},   {"", 0.15},
        {"0.2x", 0.15}, {"nan", 0.15},  {"inf", 0.15}, {"+-0.1", 0.15}, {"1e-1", 0.1},
    };
    for (const auto& [text, expected] : numbers)
        EXPECT_DOUBLE_EQ(parseUsDecimal(text).value_or(0.15), expected) << '"' << text << '"';
}

const std::string emptyKnownMet("\x0E\x00\x00\x00\x00", 5);

// A fresh file is loaded once it has settled; while a newer one settles the
// loaded list stays, and an unreadable one makes the cycle try again. Every
// source of the shared folders is tried and the first failure named.
TEST(LoadCycle, LoadsOnlySettledReadableFilesAndTriesEverySource) {
    test::TempDir dir;
    FakeFileSystem files;
    FakeClock clock;
    const std::string path = dir.write("known.met", emptyKnownMet);
    tKnownMet knownMet{path, files, clock};
    std::string failure;
    const auto writtenAt = [&](std::int64_t stampMs, std::string_view contents) {
        dir.write("known.met", contents);
        files.files.insert(path);
        files.stamps[path] = stampMs;
    };
    writtenAt(1'000'000, emptyKnownMet);
    clock.nowMs = 1'001'000;
    EXPECT_FALSE(loadEmuleFiles(knownMet, failure));
    EXPECT_EQ(knownMet.list(), nullptr);
    EXPECT_EQ(failure, knownMetSettlingText);

    clock.nowMs = 1'002'001;
    ASSERT_TRUE(loadEmuleFiles(knownMet, failure));
    const tKnownMetList* loaded = knownMet.list();
    ASSERT_NE(loaded, nullptr);
    writtenAt(1'001'500, std::string("\x0E\x01\x00\x00\x00", 5));
    EXPECT_TRUE(loadEmuleFiles(knownMet, failure));
    EXPECT_EQ(knownMet.list(), loaded);

    clock.nowMs = 1'010'000;
    writtenAt(1'000'002, std::string("\x0D\x00\x00\x00\x00", 5));
    EXPECT_FALSE(loadEmuleFiles(knownMet, failure));
    EXPECT_FALSE(failure.empty());
    EXPECT_NE(failure, knownMetSettlingText);
    writtenAt(1'000'004, emptyKnownMet);
    EXPECT_TRUE(loadEmuleFiles(knownMet, failure));

    NativePlatform native;
    Platform& platform = native.services();
    const std::string preferences = dir.write("preferences.ini", "[eMule]\r\nPort=1\r\n");
    dir.write("shareddir.dat", dir.path() + "\r\n");
    using FileClock = std::filesystem::file_time_type::clock;
    for (const char* name : {"preferences.ini", "shareddir.dat"})
        std::filesystem::last_write_time(dir.file(name), FileClock::now() - std::chrono::hours(1));
    tSharedFolders folders(platform.files, platform.clock, platform.ini, platform.listing,
                           dir.path(), '/');
    EXPECT_FALSE(loadSharedFolders(folders, failure));
    EXPECT_EQ(failure, preferences + ": no IncomingDir in section eMule");
    EXPECT_TRUE(folders.sharedDirsLoaded() && folders.sharedFilesLoaded() &&
                folders.categoriesLoaded());

    dir.write("preferences.ini", "[eMule]\r\nIncomingDir=" + dir.path() + "in\r\n");
    std::filesystem::last_write_time(preferences, FileClock::now() - std::chrono::minutes(10));
    failure.clear();
    EXPECT_TRUE(loadSharedFolders(folders, failure));
    EXPECT_EQ(failure, "");
    EXPECT_EQ(folders.folders().size(), 2u);
}

} // namespace
} // namespace pln
