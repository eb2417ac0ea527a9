#include "app/core/load_cycle.h"
#include "app/core/shared_lookup.h"
#include "platform/fake_platform.h"
#include "platform/platform.h"
#include "support/temp_dir.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

namespace pln {
namespace {

constexpr FileTime nsPerSecond = 1'000'000'000;

TEST(SharedLookup, GivesTheFolderAndLocalDatesOfTheMatchingFile) {
    tSharedFileTable table;
    const FileTime written = 1'600'000'000 * nsPerSecond + 400'000'000;
    table.assign({{"Movie.avi", {"/share/", written, 0, 0, 700}},
                  {"other.iso", {"/share/", written, written - 90 * nsPerSecond, 0, 5}}});
    FakeClock clock;
    clock.utcOffsetMs = 3'600'000;
    const tSharedLookup lookup = sharedFileLookup(table, clock);

    const auto match = lookup("movie.AVI", 700, 1'600'000'000);
    ASSERT_TRUE(match);
    EXPECT_EQ(match->folder, "/share/");
    EXPECT_EQ(match->modified, unixEpochCalendarMs + 1'600'000'000'400 + 3'600'000);
    EXPECT_EQ(match->created, 0); // unknown to the file system
    EXPECT_EQ(lookup("other.iso", 5, 1'600'000'000)->created,
              unixEpochCalendarMs + 1'599'999'910'400 + 3'600'000);
    EXPECT_FALSE(lookup("Movie.avi", 701, 1'600'000'000));
    EXPECT_FALSE(lookup("Movie.avi", 700, 1'600'000'002));
}

TEST(LoadSharedFolders, EverySourceIsTriedAndTheFirstFailureNamed) {
    test::TempDir dir;
    NativePlatform native;
    Platform& platform = native.services();
    const std::string preferences = dir.write("preferences.ini", "[eMule]\r\nPort=1\r\n");
    dir.write("shareddir.dat", dir.path() + "\r\n");
    for (const char* name : {"preferences.ini", "shareddir.dat"})
        std::filesystem::last_write_time(
            dir.file(name), std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    tSharedFolders folders(platform.files, platform.clock, platform.ini, platform.listing,
                           dir.path(), '/');
    std::string failure;
    EXPECT_FALSE(loadSharedFolders(folders, failure));
    EXPECT_EQ(failure, preferences + ": no IncomingDir in section eMule");
    EXPECT_TRUE(folders.sharedDirsLoaded());
    EXPECT_TRUE(folders.sharedFilesLoaded());
    EXPECT_TRUE(folders.categoriesLoaded());

    dir.write("preferences.ini", "[eMule]\r\nIncomingDir=" + dir.path() + "in\r\n");
    std::filesystem::last_write_time(preferences, std::filesystem::file_time_type::clock::now() -
                                                      std::chrono::minutes(10));
    failure.clear();
    EXPECT_TRUE(loadSharedFolders(folders, failure));
    EXPECT_EQ(failure, "");
    EXPECT_EQ(folders.folders().size(), 2u);
}

} // namespace
} // namespace pln
