#include "app/core/location_search.h"
#include "app/core/windows_version.h"
#include "common/error.h"
#include "platform/fake_platform.h"
#include "platform/posix/posix_file_listing.h"
#include "platform/posix/posix_file_system.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pln {
namespace {

// Where a row puts eMule's folder, whether eMule.exe lies in it, what Wine's
// user.reg says (setting -1: no user.reg), whether user.reg names the user's
// folders and whether the search knows the system's user name.
using Place = std::tuple<const char*, bool, int, bool, bool>;
const Place named{"mine/eMule/", false, -1, false, true};
const Place namedProgramFolder{"mine/eMule/", true, -1, false, true};
const Place wineUser{"wine/drive_c/users/ann/AppData/Local/eMule/", false, 0, true, true};
// Without the system's user name the one personal profile serves.
const Place wineDefaultUser{"wine/drive_c/users/ann/AppData/Local/eMule/", false, 0, false, false};
const Place wineX86{"wine/drive_c/Program Files (x86)/eMule/", true, 2, false, true};
const Place xdg{"xdg/eMule/", false, -1, false, true};

// A row's name, its places, and the configuration and data folders found,
// relative to the test folder and the last field (config null: the search fails).
using SearchRow =
    std::tuple<const char*, std::vector<Place>, const char*, const char*, const char*>;

const std::string shellFolders =
    "\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell "
    "Folders] 1700000000\n\"Local AppData\"=\"C:\\\\USERS\\\\Ann\\\\appdata\\\\LOCAL\"\n";

const std::string wineLocal = "wine/dosdevices/c:/users/ann/AppData/Local/";

// A machine with a Wine prefix ("wine/", its user "ann") and this system's
// own folders ("xdg/"); eMule's configuration lies where a row puts it.
struct LocationSearchTest : testing::TestWithParam<SearchRow> {
    LocationSearchTest() {
        system.separator = '/';
        system.executable = dir.mkdir("bin") + "PLNViewer";
        for (auto folder : {KnownFolder::LocalAppData, KnownFolder::Downloads,
                            KnownFolder::PublicDownloads, KnownFolder::ProgramData})
            system.knownFolders[folder] = dir.mkdir("xdg");
        std::filesystem::create_directory_symlink("../drive_c",
                                                  dir.mkdir("wine/dosdevices") + "c:");
        dir.mkdir("wine/drive_c/users/ann/AppData/Local");
        dir.mkdir("wine/drive_c/users/Public/Downloads");
        search.winePrefix = dir.file("wine");
        search.userName = "ann";
    }

    // user.reg keeps eMule's setting and, unless the defaults serve, names
    // the user's folders in other letter cases than the disk has.
    void place(const Place& at) {
        const auto& [eMule, program, setting, namesFolders, userKnown] = at;
        if (setting >= 0)
            dir.write("wine/user.reg", "WINE REGISTRY Version 2\n\n[Software\\\\eMule] 1700000000\n"
                                       "\"UsePublicUserDirectories\"=dword:0000000" +
                                           std::to_string(setting) + "\n" +
                                           (namesFolders ? shellFolders : ""));
        if (program)
            dir.write(std::string(eMule) + "eMule.exe", "MZ");
        if (!userKnown)
            search.userName.clear();
        for (const char* file : {"known.met", "preferences.ini"})
            dir.write(std::string(eMule) + "config/" + file, "");
    }

    test::TempDir dir;
    FakeSystemInfo system;
    PosixFileSystem files;
    PosixFileListing listing{std::nullopt};
    tLocationSearch search;
};

TEST_P(LocationSearchTest, FirstFolderHoldingEmulesFilesWins) {
    const auto& [name, places, config, data, under] = GetParam();
    search.configFolder = dir.file("mine/eMule/config");
    for (const Place& where : places)
        place(where);

    auto outcome = searchLocations(system, files, listing, windowsVista, search);
    if (!config) {
        ASSERT_TRUE(std::holds_alternative<tStartupEnd>(outcome));
        const std::string tried = "- " + dir.file("mine/eMule/config/") + "\n- " +
                                  dir.file(wineLocal + "eMule/config/\n- ") +
                                  dir.file("xdg/eMule/config/\n");
        EXPECT_EQ(std::get<tStartupEnd>(outcome).message,
                  format(linuxMissingEmuleFilesMessage, {tried}));
        return;
    }
    ASSERT_TRUE(std::holds_alternative<tLocations>(outcome))
        << std::get<tStartupEnd>(outcome).message;
    const auto& loc = std::get<tLocations>(outcome);
    EXPECT_EQ(loc.eMuleConfigFolder, dir.file(std::string(under) + config));
    EXPECT_EQ(loc.dataFolder, dir.file(std::string(under) + data));
    EXPECT_TRUE(files.folderExists(loc.logsFolder));
    EXPECT_EQ(loc.programFolder, dir.file("bin/")) << "the recorder beside the viewer";
    EXPECT_EQ(!loc.namedConfig.empty(), std::get<0>(places.front()) == std::get<0>(named));
}

const char* const wineX86Folder = "wine/dosdevices/c:/Program Files (x86)/eMule/";

const SearchRow searchRows[] = {
    {"NamedFolderFirst", {named, wineUser}, "mine/eMule/config/", "mine/PLN/", ""},
    {"NamedProgramFolder", {namedProgramFolder}, "mine/eMule/config/", "mine/eMule/PLN/", ""},
    {"WineUserBeforeXdg", {wineUser, xdg}, "eMule/config/", "PLN/", wineLocal.c_str()},
    {"WineDefaultFolders", {wineDefaultUser}, "eMule/config/", "PLN/", wineLocal.c_str()},
    {"WineProgramFilesX86", {wineX86, xdg}, "config/", "PLN/", wineX86Folder},
    {"XdgLast", {xdg}, "xdg/eMule/config/", "xdg/PLN/", ""},
    {"NothingFound", {}, nullptr, nullptr, ""},
};

INSTANTIATE_TEST_SUITE_P(Linux, LocationSearchTest, testing::ValuesIn(searchRows),
                         [](const auto& row) { return std::string(std::get<0>(row.param)); });

TEST(LocationSearch, ConfigOptionNeedsAFolder) {
    PosixFileListing listing{std::string("/p")};
    auto search = nativeLocationSearch({"--config", "/e/config"}, listing);
    EXPECT_EQ(search.configFolder, "/e/config");
    EXPECT_EQ(search.winePrefix, "/p");
    EXPECT_THROW(nativeLocationSearch({"--config"}, listing), Error);
}

} // namespace
} // namespace pln
