#include "emulefiles/core/windows_path.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

TEST(WindowsPath, TrailingDelimiterFollowsThePathsOwnForm) {
    EXPECT_EQ(withTrailingDelimiter("C:\\Share", '/'), "C:\\Share\\");
    EXPECT_EQ(withTrailingDelimiter("C:", '/'), "C:\\");
    EXPECT_EQ(withTrailingDelimiter("/home/u/share", '/'), "/home/u/share/");
    EXPECT_EQ(withTrailingDelimiter("share", '\\'), "share\\");
    EXPECT_EQ(withTrailingDelimiter("/home/", '/'), "/home/");
    EXPECT_EQ(comparePaths("C:\\Share\\A.TXT", "c:/share/a.txt"), 0);
}

} // namespace
} // namespace pln
