#include "common/error.h"
#include "common/file_io.h"
#include "common/settled.h"
#include "support/error_text.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace pln {
namespace {

namespace fs = std::filesystem;
using test::readText;
using test::TempDir;

std::vector<std::uint8_t> bytesOf(std::string_view s) {
    return {s.begin(), s.end()};
}

// The kind of the action's failure; none when it succeeds.
template <class Action> std::optional<ErrorKind> failureKind(Action action) {
    try {
        action();
    } catch (const Error& e) {
        return e.kind();
    }
    return std::nullopt;
}

TEST(FileIo, ReplacesContentsAndKeepsPermissions) {
    TempDir dir;
    std::string path = dir.write("known.met", "old contents");
#ifndef _WIN32
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
#endif
    replaceFileContents(path, bytesOf("new"));
    EXPECT_EQ(readText(path), "new");
#ifndef _WIN32
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
#endif
    EXPECT_EQ(dir.entryCount(), 1u);
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
    EXPECT_EQ(dir.entryCount(), 2u);

    EXPECT_EQ(test::errorOf([&] { replaceFileContents(dir.file("no-folder/a"), bytesOf("x")); }),
              test::missingFolderText());
    EXPECT_EQ(test::errorOf([&] { readWholeFile(dir.file("absent")); }),
              "Cannot open \"" + dir.file("absent") + "\": " + test::missingFileText());
    EXPECT_EQ(test::errorOf([&] { writeNamedFile(dir.file("no-folder/a"), bytesOf("x")); }),
              "Cannot write \"" + dir.file("no-folder/a") + "\": " + test::missingFolderText());

    // What the system refused is an I/O failure, through every layer.
    EXPECT_EQ(failureKind([&] { readWholeFile(dir.file("absent")); }), ErrorKind::io);
    EXPECT_EQ(failureKind([&] { writeNamedFile(dir.file("no-folder/a"), bytesOf("x")); }),
              ErrorKind::io);
    EXPECT_EQ(failureKind([&] { replaceFileContents(blocked, bytesOf("new")); }), ErrorKind::io);
    EXPECT_EQ(failureKind([&] { readWholeFile(path, 3); }), ErrorKind::invalidFile);
}

// Every spelling of one folder must give the same name, or a check for the
// recorder of that folder looks at a mutex nobody holds.
TEST(FileIo, EverySpellingOfAFolderIsCanonicalisedAlike) {
    TempDir dir;
    const std::string folder = dir.mkdir("config");
    const std::string expected = canonicalFolder(folder);
    std::vector<std::string> spellings = {
        folder.substr(0, folder.size() - 1),
        dir.path() + "/config//",
        dir.path() + "config/../config/./",
    };
    // A folder on another drive than the working folder has no relative spelling.
    if (const std::string relative = fs::relative(fs::path(folder), fs::current_path()).string();
        !relative.empty())
        spellings.push_back(relative);
#ifdef _WIN32
    std::string backslashes = folder;
    std::replace(backslashes.begin(), backslashes.end(), '/', '\\');
    spellings.push_back(backslashes);
    EXPECT_EQ(expected.back(), '\\');
#else
    fs::create_directory_symlink("config", dir.file("link"));
    spellings.push_back(dir.file("link"));
    EXPECT_EQ(expected, fs::canonical(folder).string() + "/");
#endif
    for (const std::string& spelling : spellings)
        EXPECT_EQ(canonicalFolder(spelling), expected) << spelling;
}

TEST(SettledTest, AChangeCountsAsSettledOnlyOutsideTheMarginOnEitherSide) {
    constexpr std::int64_t now = 1'700'000'000'000;
    const struct {
        std::int64_t stamp;
        bool settled;
    } rows[] = {
        {now, false},
        {now - settleMs, false},
        {now - settleMs - 1, true},
        {now + settleMs, false},
        {now + settleMs + 1, true}, // the clock was set back after the save
        {-1, true},                 // no stamp known
    };
    for (const auto& row : rows)
        EXPECT_EQ(hasSettled(now, row.stamp), row.settled) << row.stamp - now;
}

} // namespace
} // namespace pln
