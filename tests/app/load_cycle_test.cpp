#include "app/core/load_cycle.h"
#include "platform/fake_platform.h"
#include "platform/platform.h"
#include "support/temp_dir.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

namespace pln {
namespace {

const std::string emptyKnownMet("\x0E\x00\x00\x00\x00", 5);

struct LoadCycle : testing::Test {
    test::TempDir dir;
    FakeFileSystem files;
    FakeClock clock;
    std::string path = dir.write("known.met", emptyKnownMet);
    tKnownMet knownMet{path, files, clock};
    std::string failure;

    void writtenAt(std::int64_t stampMs, std::string_view contents) {
        dir.write("known.met", contents);
        files.files.insert(path);
        files.stamps[path] = stampMs;
    }
};

// A fresh file is loaded once it has settled; while a newer one settles the
// loaded list stays, and an unreadable one makes the cycle try again.
TEST_F(LoadCycle, LoadsOnlySettledReadableFiles) {
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
