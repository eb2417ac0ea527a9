#include "emulefiles/core/windows_path.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

TEST(WindowsPath, TrailingDelimiterFollowsThePathsOwnForm) {
    EXPECT_EQ(withTrailingDelimiter("C:\\Share", '/'), "C:\\Share\\");
    EXPECT_EQ(withTrailingDelimiter("C:", '/'), "C:\\");
    EXPECT_EQ(withTrailingDelimiter("/home/u/share", '/'), "/home/u/share/");
    EXPECT_EQ(withTrailingDelimiter("share", '\\'), "share\\");
    EXPECT_EQ(withTrailingDelimiter("C:\\Share\\", '/'), "C:\\Share\\");
    EXPECT_EQ(withTrailingDelimiter("/home/", '/'), "/home/");
}

TEST(WindowsPath, FolderAndNameParts) {
    EXPECT_EQ(folderPart("C:\\Share\\a.txt"), "C:\\Share\\");
    EXPECT_EQ(fileNamePart("C:\\Share\\a.txt"), "a.txt");
    EXPECT_EQ(folderPart("/x/y/a.txt"), "/x/y/");
    EXPECT_EQ(folderPart("a.txt"), "");
    EXPECT_EQ(fileNamePart("a.txt"), "a.txt");
}

TEST(WindowsPath, ComparisonIgnoresCaseAndDelimiterKind) {
    EXPECT_EQ(comparePaths("C:\\Share\\A.TXT", "c:/share/a.txt"), 0);
    EXPECT_LT(comparePaths("C:\\Share\\", "C:\\Share\\x"), 0);
    EXPECT_GT(comparePaths("C:\\b", "C:\\A"), 0);
}

TEST(WindowsPath, CandidatesOnPosix) {
    std::optional<std::string> prefix = "/home/u/.wine";
    EXPECT_EQ(nativePathCandidates("C:\\Users\\u\\Share\\", '/', prefix),
              (std::vector<std::string>{"C:\\Users\\u\\Share\\", "C:/Users/u/Share/",
                                        "/home/u/.wine/dosdevices/c:/Users/u/Share/"}));
    EXPECT_EQ(nativePathCandidates("Z:/home/u/x", '/', std::string("/p/")),
              (std::vector<std::string>{"Z:/home/u/x", "/p/dosdevices/z:/home/u/x"}));
    EXPECT_EQ(nativePathCandidates("/home/u/share/", '/', prefix),
              (std::vector<std::string>{"/home/u/share/"}));
    EXPECT_EQ(nativePathCandidates("D:\\x", '/', std::nullopt),
              (std::vector<std::string>{"D:\\x", "D:/x"}));
}

TEST(WindowsPath, WindowsPathsAreNativeOnWindows) {
    EXPECT_EQ(nativePathCandidates("C:\\Share\\", '\\', std::string("/p")),
              (std::vector<std::string>{"C:\\Share\\"}));
}

} // namespace
} // namespace pln
