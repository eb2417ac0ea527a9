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

TEST(WindowsPath, CandidatesTryWineDrivesOnPosixOnly) {
    std::optional<std::string> prefix = "/home/u/.wine";
    EXPECT_EQ(nativePathCandidates("C:\\Users\\u\\Share\\", '/', prefix),
              (std::vector<std::string>{"C:\\Users\\u\\Share\\", "C:/Users/u/Share/",
                                        "/home/u/.wine/dosdevices/c:/Users/u/Share/"}));
    EXPECT_EQ(nativePathCandidates("Z:/home/u/x", '/', std::string("/p/")),
              (std::vector<std::string>{"Z:/home/u/x", "/p/dosdevices/z:/home/u/x"}));
    EXPECT_EQ(nativePathCandidates("/home/u/share/", '/', prefix),
              std::vector<std::string>{"/home/u/share/"});
    EXPECT_EQ(nativePathCandidates("C:\\Share\\", '\\', prefix),
              std::vector<std::string>{"C:\\Share\\"});
}

} // namespace
} // namespace pln
