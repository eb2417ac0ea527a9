#include "emulefiles/core/shared_folders.h"
#include "platform/fake_platform.h"
#include "platform/posix/posix_file_listing.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pln {
namespace {

// The configuration files live in a real folder so that the .dat reader can
// read them; their existence and stamps come from the fake file system.
class SharedFoldersTest : public testing::Test {
protected:
    SharedFoldersTest()
        : listing(std::nullopt),
          folders(fake.files, fake.clock, fake.ini, listing, dir.path(), '/') {}

    void writeDat(const std::string& name, const std::string& bytes, FileStamp stamp) {
        std::string path = dir.write(name, bytes);
        fake.files.files.insert(path);
        fake.files.stamps[path] = stamp;
    }
    void removeFile(const std::string& path) {
        fake.files.files.erase(path);
        fake.files.stamps.erase(path);
    }
    void setIni(const std::string& path, const std::string& text, FileStamp stamp) {
        fake.ini.files[path] = text;
        fake.files.files.insert(path);
        fake.files.stamps[path] = stamp;
    }
    void loadIncomingDir(const std::string& folder, FileStamp stamp) {
        setIni(folders.preferencesPath(), "[eMule]\nIncomingDir=" + folder + "\n", stamp);
        folders.loadIncomingDir();
    }

    // Each folder with the number of its source, blank-separated.
    std::string folderList() const {
        std::string out;
        for (const auto& f : folders.folders())
            out += f.path + "=" + std::to_string(static_cast<int>(f.source)) + " ";
        return out;
    }

    test::TempDir dir;
    FakePlatform fake;
    PosixFileListing listing;
    tSharedFolders folders;
};

TEST_F(SharedFoldersTest, IncomingDirReplacesItsOwnEntryAndSharesTheFirstSourceOfAFolder) {
    loadIncomingDir("C:\\Share", 1000);
    EXPECT_TRUE(folders.incomingDirLoaded());
    EXPECT_EQ(folders.preferencesAge(), 1000);
    writeDat("shareddir.dat", "c:\\share\\\r\nD:\\Other\r\n\r\n   \r\nC:\\Share", 1000);
    folders.loadSharedDirs();
    EXPECT_TRUE(folders.sharedDirsLoaded());
    EXPECT_EQ(folderList(), "C:\\Share\\=1 D:\\Other\\=0 ");

    // The incoming folder moves: the shared folder goes with it until
    // shareddir.dat is read again.
    loadIncomingDir("C:\\In", 2000);
    EXPECT_EQ(folderList(), "C:\\In\\=1 D:\\Other\\=0 ");
    folders.loadSharedDirs();
    const std::string shared = "C:\\In\\=1 c:\\share\\=0 D:\\Other\\=0 ";
    EXPECT_EQ(folderList(), shared);

    // No folder named: the last one read stays.
    loadIncomingDir("", 3000);
    EXPECT_FALSE(folders.incomingDirLoaded());
    EXPECT_EQ(folders.preferencesAge(), 2000);
    EXPECT_EQ(folderList(), shared);
    loadIncomingDir("D:\\Down\\", 4000);
    EXPECT_EQ(folderList(), "c:\\share\\=0 D:\\Down\\=1 D:\\Other\\=0 ");
}

TEST_F(SharedFoldersTest, CategoriesFromCountPlusOneSections) {
    setIni(folders.categoriesPath(),
           "[General]\nCount=2\n[Cat#0]\nIncoming=C:\\Cat0\n[Cat#1]\nIncoming=\n"
           "[cat#2]\nIncoming=C:\\Cat2\\\n[Cat#3]\nIncoming=C:\\Cat3\n[Cat#02]\nIncoming=C:\\X\n",
           500);
    folders.loadCategories();
    EXPECT_TRUE(folders.categoriesLoaded());
    EXPECT_EQ(folders.categoriesAge(), 500);
    EXPECT_EQ(folderList(), "C:\\Cat0\\=2 C:\\Cat2\\=2 ");

    // A hostile count costs no more than the sections present.
    setIni(folders.categoriesPath(), "[General]\nCount=2147483647\n[Cat#7]\nIncoming=C:\\Seven\n",
           600);
    folders.loadCategories();
    EXPECT_EQ(folderList(), "C:\\Seven\\=2 ");

    removeFile(folders.categoriesPath());
    folders.loadCategories();
    EXPECT_TRUE(folders.categoriesLoaded());
    EXPECT_EQ(folders.categoriesAge(), -1);
    EXPECT_EQ(folderList(), "");
}

// Decoding a UTF-16 list is the .dat reader's test.
TEST_F(SharedFoldersTest, SharedFilesListSharedAndExcludedFiles) {
    writeDat("sharedfiles.dat", "C:\\\xE9t\xE9.avi\r\n-C:\\Share\\skip.txt\n-\n\nD:\\two.bin\r",
             100);
    folders.loadSharedFiles();
    ASSERT_TRUE(folders.sharedFilesLoaded());
    EXPECT_EQ(folders.sharedFilesAge(), 100);
    EXPECT_EQ(folders.sharedFiles(),
              (std::vector<std::string>{"C:\\\xC3\xA9t\xC3\xA9.avi", "D:\\two.bin"}));
    EXPECT_EQ(folders.excludedFiles(), std::vector<std::string>{"C:\\Share\\skip.txt"});
}

TEST_F(SharedFoldersTest, AFailedReadKeepsThePreviousEntries) {
    writeDat("shareddir.dat", "C:\\Share\n", 100);
    folders.loadSharedDirs();
    // Listed as present but unreadable on disk.
    fake.files.files.insert(dir.file("sharedfiles.dat"));
    fake.files.stamps[dir.file("sharedfiles.dat")] = 300;
    folders.loadSharedFiles();
    EXPECT_FALSE(folders.sharedFilesLoaded());
    EXPECT_EQ(folders.lastDatError(), "Cannot open file \"" + dir.file("sharedfiles.dat") + "\".");

    std::filesystem::remove(dir.file("shareddir.dat"));
    fake.files.stamps[dir.file("shareddir.dat")] = 400;
    folders.loadSharedDirs();
    EXPECT_FALSE(folders.sharedDirsLoaded());
    EXPECT_EQ(folders.sharedDirsAge(), 100);
    EXPECT_EQ(folderList(), "C:\\Share\\=0 ");

    removeFile(dir.file("shareddir.dat"));
    folders.loadSharedDirs();
    EXPECT_TRUE(folders.sharedDirsLoaded());
    EXPECT_EQ(folders.sharedDirsAge(), -1);
    EXPECT_EQ(folderList(), "");
}

// Where a change settles is the clock rule's own test; these follow what
// each source remembers of its last read.
TEST_F(SharedFoldersTest, ALoadIsDueOnceAChangeHasSettledAndForFilesThatComeAndGo) {
    fake.clock.nowMs = 11'000;
    setIni(folders.preferencesPath(), "[eMule]\nIncomingDir=C:\\In\n", 10'000);
    EXPECT_FALSE(folders.incomingDirChanged());
    fake.clock.nowMs = 12'001;
    EXPECT_TRUE(folders.incomingDirChanged());
    folders.loadIncomingDir();
    EXPECT_FALSE(folders.incomingDirChanged());
    fake.files.stamps[folders.preferencesPath()] = 13'000;
    fake.clock.nowMs = 9'000; // a clock set back
    EXPECT_TRUE(folders.incomingDirChanged());

    // A .dat file never loaded and absent: load, to record the absence.
    std::string path = folders.sharedDirsPath();
    fake.clock.nowMs = 100'000;
    EXPECT_TRUE(folders.sharedDirsChanged());
    folders.loadSharedDirs();
    EXPECT_FALSE(folders.sharedDirsChanged());

    writeDat("shareddir.dat", "C:\\A\n", 99'000);
    EXPECT_FALSE(folders.sharedDirsChanged());
    fake.clock.nowMs = 101'001;
    EXPECT_TRUE(folders.sharedDirsChanged());
    folders.loadSharedDirs();
    EXPECT_FALSE(folders.sharedDirsChanged());

    // Gone: the stored stamp decides whether the disappearance has settled.
    removeFile(path);
    fake.clock.nowMs = 100'500;
    EXPECT_FALSE(folders.sharedDirsChanged());
    fake.clock.nowMs = 101'001;
    EXPECT_TRUE(folders.sharedDirsChanged());
    folders.loadSharedDirs();
    EXPECT_EQ(folders.sharedDirsAge(), -1);
    EXPECT_FALSE(folders.sharedDirsChanged());
}

} // namespace
} // namespace pln
