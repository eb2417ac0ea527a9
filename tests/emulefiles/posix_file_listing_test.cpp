#include "platform/posix/posix_file_listing.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

using namespace std::string_literals;

namespace pln {
namespace {

std::map<std::string, FileEntry> byName(std::vector<FileEntry> entries) {
    std::map<std::string, FileEntry> out;
    for (auto& e : entries)
        out[e.name] = e;
    return out;
}

TEST(PosixFileListing, ListsEntriesWithWindowsAttributes) {
    test::TempDir dir;
    dir.write("plain.txt", "12345");
    dir.write(".hidden", "h");
    std::string ro = dir.write("readonly.txt", "r");
    ::chmod(ro.c_str(), 0444);
    dir.mkdir("sub");
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink(dir.file("plain.txt"), dir.file("link.txt"));
    std::filesystem::last_write_time(dir.file("plain.txt"),
                                     std::filesystem::file_time_type::clock::now());

    PosixFileListing listing(std::nullopt);
    auto entries = byName(listing.listFolder(dir.path()));
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries["plain.txt"].attributes, fileAttribute::archive);
    EXPECT_EQ(entries["plain.txt"].size, 5u);
    EXPECT_GT(entries["plain.txt"].lastWriteTime, 1'500'000'000LL * 1'000'000'000);
    EXPECT_EQ(entries[".hidden"].attributes, fileAttribute::archive | fileAttribute::hidden);
    EXPECT_EQ(entries["readonly.txt"].attributes, fileAttribute::archive | fileAttribute::readOnly);
    EXPECT_EQ(entries["sub"].attributes & fileAttribute::directory, fileAttribute::directory);
    EXPECT_EQ(entries["pipe"].attributes & fileAttribute::system, fileAttribute::system);
    EXPECT_EQ(entries["link.txt"].size, 5u);
    EXPECT_EQ(entries["link.txt"].attributes, fileAttribute::archive);

    auto one = listing.entry(dir.file("plain.txt"));
    ASSERT_TRUE(one);
    EXPECT_EQ(one->name, "plain.txt");
    EXPECT_EQ(one->lastWriteTime, entries["plain.txt"].lastWriteTime);
    EXPECT_FALSE(listing.entry(dir.file("absent")));
    EXPECT_TRUE(listing.listFolder(dir.file("absent")).empty());
}

TEST(PosixFileListing, RecognisesShortcutsButCannotFollowThem) {
    test::TempDir dir;
    std::string header = "\x4C\0\0\0\x01\x14\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46"s;
    std::string link = dir.write("a.lnk", header + "rest of the link");
    std::string fake = dir.write("b.lnk", "not a shortcut at all");
    PosixFileListing listing(std::nullopt);
    EXPECT_TRUE(listing.isShellLink(link));
    EXPECT_FALSE(listing.isShellLink(fake));
    EXPECT_FALSE(listing.isShellLink(dir.file("missing.lnk")));
    EXPECT_FALSE(listing.shellLinkTarget(link));
}

TEST(PosixFileListing, WinePrefixFromTheEnvironment) {
    EXPECT_EQ(PosixFileListing(std::string("/opt/wine")).winePrefix(), "/opt/wine");
    ::setenv("WINEPREFIX", "/srv/prefix", 1);
    EXPECT_EQ(PosixFileListing().winePrefix(), "/srv/prefix");
    ::unsetenv("WINEPREFIX");
    const char* home = std::getenv("HOME");
    std::string savedHome = home ? home : "";
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(PosixFileListing().winePrefix(), "/home/someone/.wine");
    ::setenv("HOME", savedHome.c_str(), 1);
}

} // namespace
} // namespace pln
