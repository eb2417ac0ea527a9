#include "common/error.h"
#include "common/file_io.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace pln {
namespace {

using test::readText;
using test::TempDir;

std::vector<std::uint8_t> bytesOf(std::string_view s) { return {s.begin(), s.end()}; }

TEST(FileIo, ReplacesContentsAndKeepsPermissions) {
    TempDir dir;
    std::string path = dir.write("known.met", "old contents");
    ::chmod(path.c_str(), 0600);
    replaceFileContents(path, bytesOf("new"));
    EXPECT_EQ(readText(path), "new");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(readWholeFile(path), bytesOf("new"));
}

TEST(FileIo, AFailedReplaceLeavesTheOriginalAndNoTemporaryFile) {
    TempDir dir;
    std::string path = dir.write("known.met", "precious");
    // A folder in the way of the rename makes the last step fail.
    std::string blocked = dir.mkdir("blocked");
    dir.write("blocked/inside", "x");
    blocked.pop_back();
    EXPECT_THROW(replaceFileContents(blocked, bytesOf("new")), Error);
    EXPECT_EQ(readText(path), "precious");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              2);

    try {
        replaceFileContents(dir.file("missing-folder/known.met"), bytesOf("x"));
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "No such file or directory");
    }
    EXPECT_THROW(readWholeFile(dir.file("absent")), Error);
}

} // namespace
} // namespace pln
