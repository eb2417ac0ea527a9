#include "emulefiles/core/shared_folders.h"
#include "platform/fake_platform.h"
#include "platform/posix/posix_file_listing.h"
#include "platform/posix/posix_file_system.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

namespace pln {
namespace {

constexpr std::uint64_t maxShared = 0x4000000000ULL;
constexpr std::string_view linkHeader{"\x4C\0\0\0\x01\x14\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46", 20};

// Shortcuts as a Windows shell would resolve them, from a table.
struct ResolvingListing : PosixFileListing {
    using PosixFileListing::PosixFileListing;
    std::map<std::string, std::string> targets;
    std::optional<std::string> shellLinkTarget(const std::string& path) override {
        auto it = targets.find(path);
        return it == targets.end() ? std::nullopt : std::optional(it->second);
    }
};

class SharedScanTest : public testing::Test {
protected:
    SharedScanTest()
        : listing(dir.file("wine")), config(dir.mkdir("config")),
          folders(files, clock, ini, listing, config, '/') {}

    std::string sparse(const std::string& name, std::uint64_t size) {
        std::string p = dir.write(name, "");
        std::filesystem::resize_file(p, size);
        return p;
    }
    void load(const std::string& sharedDirs, const std::string& sharedFiles) {
        dir.write("config/shareddir.dat", sharedDirs);
        dir.write("config/sharedfiles.dat", sharedFiles);
        folders.loadSharedDirs();
        folders.loadSharedFiles();
        ASSERT_TRUE(folders.sharedDirsLoaded() && folders.sharedFilesLoaded());
    }
    std::map<std::string, tSharedData> scan() {
        tSharedFileTable table;
        folders.scanSharedFiles(table);
        std::map<std::string, tSharedData> out;
        names.clear();
        for (const auto& f : table.files()) {
            out[f.name] = f.data;
            names.push_back(f.name);
        }
        return out;
    }

    test::TempDir dir;
    PosixFileSystem files;
    FakeClock clock;
    FakeIniProfile ini;
    ResolvingListing listing;
    std::string config;
    tSharedFolders folders;
    // The names of the last scan in table order.
    std::vector<std::string> names;
};

TEST_F(SharedScanTest, FindsWhatEmuleShares) {
    std::string a = dir.mkdir("A"), b = dir.mkdir("B"), c = dir.mkdir("C");
    dir.write("A/a.txt", "12345");
    dir.write("A/empty.bin", "");
    sparse("A/huge.bin", maxShared + 1);
    sparse("A/largest.bin", maxShared);
    dir.write("A/sub/inner.txt", "x");
    dir.write("A/Dup.txt", "from A");
    dir.write("A/excluded.txt", "x");
    dir.write("A/.hidden", "h");
    ::chmod(dir.write("A/readonly.txt", "r").c_str(), 0444);
    ::mkfifo(dir.file("A/pipe").c_str(), 0600);
    dir.write("A/fake.lnk", "not a shortcut");
    std::filesystem::create_symlink(dir.file("C/other.txt"), dir.file("A/symlink.txt"));
    dir.write("B/DUP.TXT", "from B, longer");
    dir.write("B/b.txt", "b");
    dir.write("C/single.txt", "single");
    dir.write("C/other.txt", "not shared");

    load(a + "\r\n" + b + "\r\n", "-" + a + "EXCLUDED.TXT\r\n" + c + "single.txt\r\n" + c +
                                      "missing.txt\r\n" + a + "sub\r\n");
    auto found = scan();
    EXPECT_EQ(names, (std::vector<std::string>{".hidden", "a.txt", "b.txt", "Dup.txt", "fake.lnk",
                                               "largest.bin", "readonly.txt", "single.txt",
                                               "symlink.txt"}));
    EXPECT_EQ(found["a.txt"].path, a);
    EXPECT_EQ(found["a.txt"].size, 5u);
    EXPECT_EQ(found["Dup.txt"].path, a);
    EXPECT_EQ(found["largest.bin"].size, maxShared);
    EXPECT_EQ(found["single.txt"].path, c);
    EXPECT_EQ(found["symlink.txt"].size, 10u);
    EXPECT_EQ(found["readonly.txt"].attributes & fileAttribute::readOnly, fileAttribute::readOnly);
}

TEST_F(SharedScanTest, ShortcutsShareTheirTargetOnlyWhenEmuleResolvesThem) {
    std::string share = dir.mkdir("Share");
    dir.write("Elsewhere/target.avi", "movie");
    std::string link = dir.write("Share/target.avi.lnk", std::string(linkHeader) + "...");
    std::string loop = dir.write("Share/loop.lnk", std::string(linkHeader) + "...");
    listing.targets[link] = dir.file("Elsewhere/target.avi");
    listing.targets[loop] = loop;
    load(share, "");

    EXPECT_TRUE(scan().empty());
    ini.files[folders.preferencesPath()] = "[eMule]\nResolveSharedShellLinks=1\n";
    auto found = scan();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found["target.avi"].path, dir.file("Elsewhere/"));
}

TEST_F(SharedScanTest, WindowsPathsReachTheDiskThroughWine) {
    std::string drive = dir.mkdir("drive_x");
    dir.mkdir("wine/dosdevices");
    std::filesystem::create_directory_symlink(drive, dir.file("wine/dosdevices/x:"));
    dir.write("drive_x/Share/video.avi", "video");
    dir.write("drive_x/Share/skip.avi", "skip");
    dir.write("drive_x/Single/one.iso", "one");
    dir.write("Back/Slash/file.bin", "file");
    std::string backslashed = dir.file("Back\\Slash");

    load("X:\\SHARE\r\n" + backslashed + "\r\n", "x:\\Single\\one.iso\r\n-X:\\share\\SKIP.avi\r\n");
    auto found = scan();
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found["video.avi"].path, "X:\\SHARE\\");
    EXPECT_EQ(found["one.iso"].path, "x:\\Single\\");
    EXPECT_EQ(found["file.bin"].path, backslashed + "\\");
}

} // namespace
} // namespace pln
