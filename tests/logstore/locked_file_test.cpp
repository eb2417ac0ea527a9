#include "common/error.h"
#include "platform/locked_file.h"
#include "support/temp_dir.h"

#include <filesystem>
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

TEST(FileReplacementBatch, FilesTakeTheirNewContentsOnlyWhenCommitted) {
    TempDir dir;
    std::string a = dir.write("a", "old a");
    std::string b = dir.write("b", "old b");
    const std::uint8_t x[] = {'X'};
    const std::uint8_t y[] = {'Y', 'Y'};
    {
        FileReplacementBatch batch;
        batch.add(a, x);
        batch.add(b, y);
        EXPECT_THROW(batch.commit(a), Error) << "nothing takes a file's place before the flush";
        batch.flush();
        batch.commit(a);
        EXPECT_EQ(readText(a), "X");
        EXPECT_EQ(readText(b), "old b");
    }
    EXPECT_EQ(readText(b), "old b") << "an uncommitted replacement is dropped";
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 2u) << "no temporary file stays behind";

    FileReplacementBatch missingFolder;
    try {
        missingFolder.add(dir.file("none/c"), x);
        FAIL() << "a file was written into a missing folder";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "No such file or directory");
    }
}

} // namespace
} // namespace pln::test
