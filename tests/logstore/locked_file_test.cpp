#include "platform/locked_file.h"
#include "support/error_text.h"
#ifndef _WIN32
#include "support/other_process.h"
#endif
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pln::test {
namespace {

// The message, checked to come with the kind that lets callers wait for the
// file instead of reading the text.
std::string openError(const std::string& path, LockedFile::Access access) {
    try {
        LockedFile file(path, access);
    } catch (const Error& e) {
        EXPECT_EQ(e.kind() == ErrorKind::fileInUse, e.what() == std::string(fileInUseText));
        return e.what();
    }
    return "no error";
}

TEST(LockedFile, ReadersShareAndWritersHoldAlone) {
    TempDir dir;
    std::string path = dir.write("f", "abc");
    {
        LockedFile a(path, LockedFile::Access::Read);
        EXPECT_EQ(openError(path, LockedFile::Access::Read), "no error");
        EXPECT_EQ(openError(path, LockedFile::Access::ReadWrite), fileInUseText);
    }
    {
        LockedFile w(path, LockedFile::Access::ReadWrite);
        EXPECT_EQ(openError(path, LockedFile::Access::Read), fileInUseText);
        EXPECT_EQ(openError(path, LockedFile::Access::ReadWrite), fileInUseText);
    }
    EXPECT_EQ(openError(path, LockedFile::Access::ReadWrite), "no error");
    EXPECT_EQ(openError(dir.file("missing"), LockedFile::Access::Read), missingFileText());
    EXPECT_EQ(openError(dir.path(), LockedFile::Access::Read), folderAsFileText());
}

TEST(LockedFile, AnotherProcessHoldingTheFileMakesOpeningFailAtOnce) {
#ifdef _WIN32
    GTEST_SKIP() << "the second process is forked";
#else
    TempDir dir;
    std::string path = dir.write("f", "abc");
    OtherProcess other([&](const OtherProcess::Hold& hold) {
        LockedFile held(path, LockedFile::Access::ReadWrite);
        hold(1);
    });
    ASSERT_EQ(other.report(), 1);
    EXPECT_EQ(openError(path, LockedFile::Access::Read), fileInUseText);
    EXPECT_TRUE(other.end());
    EXPECT_EQ(openError(path, LockedFile::Access::Read), "no error");
#endif
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
    EXPECT_EQ(dir.entryCount(), 2u) << "no temporary file stays behind";

    FileReplacementBatch missingFolder;
    EXPECT_EQ(errorOf([&] { missingFolder.add(dir.file("none/c"), x); }), missingFolderText());
}

} // namespace
} // namespace pln::test
