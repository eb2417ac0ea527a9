#include "common/error.h"
#include "platform/locked_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pln::test {
namespace {

std::string openError(const std::string& path, LockedFile::Access access) {
    try {
        LockedFile file(path, access);
        return "";
    } catch (const Error& e) {
        return e.what();
    }
}

TEST(LockedFile, ReadersShareAndWritersHoldAlone) {
    TempDir dir;
    std::string path = dir.write("f", "abc");
    {
        LockedFile a(path, LockedFile::Access::Read);
        EXPECT_EQ(openError(path, LockedFile::Access::Read), "");
        EXPECT_EQ(openError(path, LockedFile::Access::ReadWrite), fileInUseText);
    }
    {
        LockedFile w(path, LockedFile::Access::ReadWrite);
        EXPECT_EQ(openError(path, LockedFile::Access::Read), fileInUseText);
        EXPECT_EQ(openError(path, LockedFile::Access::ReadWrite), fileInUseText);
    }
    EXPECT_EQ(openError(path, LockedFile::Access::ReadWrite), "");
    EXPECT_EQ(openError(dir.file("missing"), LockedFile::Access::Read),
              "No such file or directory");
    EXPECT_EQ(openError(dir.path(), LockedFile::Access::Read), "Is a directory");
}

TEST(LockedFile, AnotherProcessHoldingTheFileMakesOpeningFailAtOnce) {
    TempDir dir;
    std::string path = dir.write("f", "abc");
    int ready[2];
    int release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        LockedFile held(path, LockedFile::Access::ReadWrite);
        char c = 1;
        (void)!write(ready[1], &c, 1);
        (void)!read(release[0], &c, 1);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_EQ(openError(path, LockedFile::Access::Read), fileInUseText);
    (void)!write(release[1], &c, 1);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(openError(path, LockedFile::Access::Read), "");
    for (int fd : {ready[0], ready[1], release[0], release[1]})
        close(fd);
}

TEST(LockedFile, ReadsAndWritesAtOffsets) {
    TempDir dir;
    std::string path = dir.write("f", "abcdef");
    LockedFile file(path, LockedFile::Access::ReadWrite);
    std::uint8_t buffer[4];
    EXPECT_TRUE(file.readAt(2, buffer));
    EXPECT_EQ(std::string(buffer, buffer + 4), "cdef");
    EXPECT_FALSE(file.readAt(3, buffer));
    EXPECT_EQ(file.readSomeAt(3, buffer), 3u);
    const std::uint8_t x[] = {'X', 'Y'};
    file.writeAt(6, x);
    EXPECT_EQ(file.size(), 8u);
    file.replaceContents(x);
    EXPECT_EQ(readText(path), "XY");
}

} // namespace
} // namespace pln::test
