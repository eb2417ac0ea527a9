#include "platform/posix/posix_file_listing.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace pln {
namespace {

// Attributes and sizes of listed entries are checked through the scan.

TEST(PosixFileListing, RecognisesShortcutsButCannotFollowThem) {
    test::TempDir dir;
    std::string header = "\x4C\0\0\0\x01\x14\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46"s;
    std::string link = dir.write("a.lnk", header + "rest of the link");
    PosixFileListing listing(std::nullopt);
    EXPECT_TRUE(listing.isShellLink(link));
    EXPECT_FALSE(listing.isShellLink(dir.write("b.lnk", "not a shortcut at all")));
    EXPECT_FALSE(listing.isShellLink(dir.file("missing.lnk")));
    EXPECT_FALSE(listing.shellLinkTarget(link));
}

TEST(PosixFileListing, WinePrefixFromTheEnvironment) {
    test::ScopedEnv home("HOME", "/home/someone");
    {
        test::ScopedEnv prefix("WINEPREFIX", "/srv/prefix");
        EXPECT_EQ(PosixFileListing().winePrefix(), "/srv/prefix");
    }
    test::ScopedEnv noPrefix("WINEPREFIX", std::nullopt);
    EXPECT_EQ(PosixFileListing().winePrefix(), "/home/someone/.wine");
}

} // namespace
} // namespace pln
