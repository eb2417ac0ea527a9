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

// Where a row puts eMule's configuration.
enum class Place { Nowhere, Named, NamedProgramFolder, WineUser, WineDefaultUser, WineX86, Xdg };

struct SearchRow {
    const char* name;
    std::vector<Place> places;
    const char* config; // relative to the test folder and `under`; null: the search fails
    const char* data;
    const char* under = "";
};

// A machine with a Wine prefix ("wine/", its user "ann") and this system's
// own folders ("xdg/"); eMule's configuration lies where a row puts it.
class LocationSearchTest : public testing::TestWithParam<SearchRow> {
protected:
    LocationSearchTest() {
        system.separator = '/';
        dir.mkdir("bin");
        system.executable = dir.file("bin/PLNViewer");
        for (auto folder : {KnownFolder::LocalAppData, KnownFolder::Downloads,
                            KnownFolder::PublicDownloads, KnownFolder::ProgramData})
            system.knownFolders[folder] = dir.mkdir("xdg");
        dir.mkdir("wine/dosdevices");
        std::filesystem::create_directory_symlink("../drive_c", dir.file("wine/dosdevices/c:"));
        dir.mkdir("wine/drive_c/users/ann/AppData/Local");
        dir.mkdir("wine/drive_c/users/Public/Downloads");
        search.winePrefix = dir.file("wine");
        search.userName = "ann";
    }

    void placeConfig(const std::string& config) {
        dir.write(config + "known.met", "");
        dir.write(config + "preferences.ini", "");
    }

    // user.reg keeps eMule's setting and, unless the defaults serve, names
    // the user's folders in other letter cases than the disk has.
    void writeUserReg(int setting, bool shellFolders) {
        std::string reg = "WINE REGISTRY Version 2\n\n[Software\\\\eMule] 1700000000\n"
                          "\"UsePublicUserDirectories\"=dword:0000000" +
                          std::to_string(setting) + "\n";
        if (shellFolders)
            reg += "\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell "
                   "Folders] 1700000000\n\"Local AppData\"=\"C:\\\\USERS\\\\Ann\\\\appdata\\\\"
                   "LOCAL\"\n";
        dir.write("wine/user.reg", reg);
    }

    void place(Place where) {
        switch (where) {
        case Place::Nowhere:
            break;
        case Place::Named:
            placeConfig("mine/eMule/config/");
            break;
        case Place::NamedProgramFolder:
            dir.write("mine/eMule/eMule.exe", "MZ");
            placeConfig("mine/eMule/config/");
            break;
        case Place::WineUser:
        case Place::WineDefaultUser:
            writeUserReg(0, where == Place::WineUser);
            // Without the system's user name the one personal profile serves.
            if (where == Place::WineDefaultUser)
                search.userName.clear();
            placeConfig("wine/drive_c/users/ann/AppData/Local/eMule/config/");
            break;
        case Place::WineX86:
            writeUserReg(2, false);
            dir.write("wine/drive_c/Program Files (x86)/eMule/eMule.exe", "MZ");
            placeConfig("wine/drive_c/Program Files (x86)/eMule/config/");
            break;
        case Place::Xdg:
            placeConfig("xdg/eMule/config/");
            break;
        }
    }

    test::TempDir dir;
    FakeSystemInfo system;
    PosixFileSystem files;
    PosixFileListing listing{std::nullopt};
    tLocationSearch search;
};

TEST_P(LocationSearchTest, FirstFolderHoldingEmulesFilesWins) {
    const SearchRow& row = GetParam();
    search.configFolder = dir.file("mine/eMule/config");
    for (Place where : row.places)
        place(where);

    auto outcome = searchLocations(system, files, listing, windowsVista, search);
    if (!row.config) {
        ASSERT_TRUE(std::holds_alternative<tStartupEnd>(outcome));
        const std::string tried = "- " + dir.file("mine/eMule/config/") + "\n- " +
                                  dir.file("wine/dosdevices/c:/users/ann/AppData/Local/eMule/"
                                           "config/\n- ") +
                                  dir.file("xdg/eMule/config/\n");
        EXPECT_EQ(std::get<tStartupEnd>(outcome).message,
                  format(linuxMissingEmuleFilesMessage, {tried}));
        return;
    }
    ASSERT_TRUE(std::holds_alternative<tLocations>(outcome))
        << std::get<tStartupEnd>(outcome).message;
    const auto& loc = std::get<tLocations>(outcome);
    EXPECT_EQ(loc.eMuleConfigFolder, dir.file(std::string(row.under) + row.config));
    EXPECT_EQ(loc.dataFolder, dir.file(std::string(row.under) + row.data));
    EXPECT_TRUE(files.folderExists(loc.logsFolder));
    EXPECT_EQ(loc.programFolder, dir.file("bin/")) << "the recorder beside the viewer";
    EXPECT_EQ(!loc.namedConfig.empty(), row.places.front() == Place::Named ||
                                            row.places.front() == Place::NamedProgramFolder);
}

using P = Place;
const char* const wineLocal = "wine/dosdevices/c:/users/ann/AppData/Local/";
const char* const wineX86 = "wine/dosdevices/c:/Program Files (x86)/eMule/";

const SearchRow searchRows[] = {
    {"NamedFolderFirst", {P::Named, P::WineUser}, "mine/eMule/config/", "mine/PLN/"},
    {"NamedProgramFolder", {P::NamedProgramFolder}, "mine/eMule/config/", "mine/eMule/PLN/"},
    {"WineUserBeforeXdg", {P::WineUser, P::Xdg}, "eMule/config/", "PLN/", wineLocal},
    {"WineDefaultFolders", {P::WineDefaultUser}, "eMule/config/", "PLN/", wineLocal},
    {"WineProgramFilesX86", {P::WineX86, P::Xdg}, "config/", "PLN/", wineX86},
    {"XdgLast", {P::Xdg}, "xdg/eMule/config/", "xdg/PLN/"},
    {"NothingFound", {P::Nowhere}, nullptr, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Linux, LocationSearchTest, testing::ValuesIn(searchRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(LocationSearch, ConfigOptionNeedsAFolder) {
    PosixFileListing listing{std::string("/p")};
    auto search = nativeLocationSearch({"--config", "/e/config"}, listing);
    EXPECT_EQ(search.configFolder, "/e/config");
    EXPECT_EQ(search.winePrefix, "/p");
    EXPECT_THROW(nativeLocationSearch({"--config"}, listing), Error);
}

} // namespace
} // namespace pln
