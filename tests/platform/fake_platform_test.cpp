#include "platform/fake_platform.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

TEST(FakePlatformTest, FoldersAreCreatedOneLevelBelowAnExistingParent) {
    FakePlatform fake;
    FakeFileSystem& files = fake.files;
    files.folders = {"C:\\eMule\\"};
    files.failCreate = {"C:\\eMule\\Denied"};
    Platform& platform = fake.services();
    EXPECT_TRUE(platform.files.createFolder("C:\\eMule\\PLN\\"));
    EXPECT_TRUE(platform.files.folderExists("C:\\eMule\\PLN"));
    EXPECT_FALSE(platform.files.createFolder("C:\\eMule\\a\\b\\"));
    EXPECT_FALSE(platform.files.createFolder("C:\\eMule\\Denied\\"));
    EXPECT_FALSE(platform.files.folderExists("C:\\eMule\\Denied"));
}

TEST(FakePlatformTest, MutexNamesFollowHoldersAndHandles) {
    FakePlatform fake;
    fake.mutexes.heldElsewhere = {"recorder"};
    fake.mutexes.denied = {"denied"};
    MutexService& mutexes = fake.services().mutexes;
    EXPECT_EQ(mutexes.create("recorder").outcome, MutexOutcome::AlreadyExists);
    EXPECT_EQ(mutexes.create("denied").outcome, MutexOutcome::AccessDenied);
    auto viewer = mutexes.create("viewer");
    ASSERT_EQ(viewer.outcome, MutexOutcome::Created);
    EXPECT_TRUE(mutexes.isHeld("viewer"));
    viewer.handle.reset();
    EXPECT_FALSE(mutexes.isHeld("viewer"));
    EXPECT_TRUE(mutexes.isHeld("recorder"));
    EXPECT_TRUE(mutexes.isHeld("denied"));
    EXPECT_EQ(fake.mutexes.created, std::vector<std::string>{"viewer"}) << "probes take nothing";
}

TEST(FakePlatformTest, IniFilesLiveInMemory) {
    FakePlatform fake;
    fake.ini.failWrite = {"ro.ini"};
    IniProfile& ini = fake.services().ini;
    EXPECT_EQ(ini.read("PLN.ini", "PLN", "showTips"), std::nullopt);
    EXPECT_TRUE(fake.ini.files.empty());
    EXPECT_TRUE(ini.write("PLN.ini", "PLN", "showTips", "0"));
    EXPECT_EQ(fake.ini.files["PLN.ini"], "[PLN]\r\nshowTips=0\r\n");
    EXPECT_FALSE(ini.write("ro.ini", "PLN", "showTips", "0"));
    EXPECT_EQ(fake.ini.files.count("ro.ini"), 0u);
}

} // namespace
} // namespace pln
