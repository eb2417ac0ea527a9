#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "common/error.h"
#include "common/file_io.h"
#include "common/missing_value.h"
#include "common/settled.h"
#include "common/text.h"
#include "support/error_text.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <bit>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>
#include <optional>

namespace pln {
namespace {

// The two placeholders are filled in afterwards, in the writer's byte order.
TEST(ByteIo, WritesLittleEndianPatchesAndReadsItBack) {
    ByteWriter w;
    w.u8(0xAB);
    w.u16(0x1234);
    w.u32(0);
    w.u64(0x0102030405060708ULL);
    w.i32(-2);
    w.u8(0);
    w.f32(1.5f);
    w.f64(-0.25);
    w.text("hi");
    w.patch(3, 0xDEADBEEF, 4);
    w.patch(19, 0x1FF, 1);
    EXPECT_EQ(w.buffer(),
              (std::vector<std::uint8_t>{0xAB, 0x34, 0x12, 0xEF, 0xBE, 0xAD, 0xDE, 0x08, 0x07,
                                         0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF,
                                         0xFF, 0xFF, 0,    0,    0xC0, 0x3F, 0,    0,    0,
                                         0,    0,    0,    0xD0, 0xBF, 'h',  'i'}));
    ByteReader r(w.buffer());
    EXPECT_EQ(r.u8(), 0xAB);
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_EQ(r.u32(), 0xDEADBEEFu);
    EXPECT_EQ(r.u64(), 0x0102030405060708ULL);
    EXPECT_EQ(r.i32(), -2);
    EXPECT_EQ(r.u8(), 0xFF);
    EXPECT_EQ(r.f32(), 1.5f);
    EXPECT_EQ(r.f64(), -0.25);
    // Reads past the end fail without moving; a huge length is refused
    // before anything is allocated.
    EXPECT_THROW(r.u32(), Error);
    EXPECT_EQ(r.position(), 32u);
    EXPECT_EQ(test::errorOf([&] { r.bytes(std::numeric_limits<std::size_t>::max()); }),
              "Unexpected end of file");
    EXPECT_THROW(r.skip(3), Error);
    EXPECT_THROW(r.seek(35), Error);
    EXPECT_EQ(r.text(2), "hi");
    EXPECT_TRUE(r.atEnd());
    EXPECT_THROW(r.u8(), Error);
    EXPECT_THROW(w.patch(31, 0, 4), std::out_of_range);
    // A missing value has the bit pattern stored in logs.
    EXPECT_EQ(std::bit_cast<std::uint64_t>(missingValue()), 0xFFF8000000000000ULL);
    EXPECT_TRUE(isMissing(missingValue()));
    EXPECT_FALSE(isMissing(0.0));
}

// Windows-1252 and UTF-16 text round trip; eMule's names are the one or
// the other by their prefix, and malformed input is shown, not dropped.
TEST(Text, EncodingsRoundTripAndDecodeLeniently) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    std::string utf8 = cp1252ToUtf8(all);
    EXPECT_TRUE(isValidUtf8(utf8));
    EXPECT_EQ(utf8ToCp1252(utf8), all);
    EXPECT_EQ(cp1252ToUtf8("\x80\xE9"), "\u20AC\u00E9");
    EXPECT_FALSE(utf8ToCp1252("\u0416").has_value());
    EXPECT_EQ(decodeEmuleString("Caf\xE9.mp3"), "Caf\u00E9.mp3");
    EXPECT_EQ(decodeEmuleString("\xEF\xBB\xBF\xD0\x96.avi"), "\u0416.avi");
    EXPECT_EQ(decodeEmuleString("\xEF\xBB\xBF"), "");
    EXPECT_EQ(decodeEmuleString("\uFEFFa\xFF"), "a\uFFFD");
    EXPECT_EQ(encodeEmuleString("plain.txt"), "plain.txt");
    EXPECT_EQ(encodeEmuleString("Caf\u00E9"), "\uFEFFCaf\xC3\xA9");
    EXPECT_EQ(decodeEmuleString(encodeEmuleString("\u65E5\u672C.mkv")), "\u65E5\u672C.mkv");

    std::string text = "a\u00E9\u65E5\U0001F600";
    std::string utf16 = utf8ToUtf16le(text);
    EXPECT_EQ(utf16.size(), 2u * 5);
    EXPECT_EQ(utf16leToUtf8({reinterpret_cast<const std::uint8_t*>(utf16.data()), utf16.size()}),
              text);
    // A lone high surrogate and an odd trailing byte.
    const std::uint8_t broken[] = {0x00, 0xD8, 0x41, 0x00, 0x42};
    EXPECT_EQ(utf16leToUtf8(broken), "\uFFFDA");
}

// Placeholders are filled in order and extra ones kept; case folding is
// ASCII only.
TEST(Text, FormatsAndFoldsAsciiCase) {
    EXPECT_EQ(format("Cannot save the \"%s\" log file: %s", {"a", "disk full"}),
              "Cannot save the \"a\" log file: disk full");
    EXPECT_EQ(format("%s and %s", {"one"}), "one and %s");
    EXPECT_EQ(format("100%", {"x"}), "100%");
    EXPECT_TRUE(iequals("Statistics.INI", "statistics.ini"));
    EXPECT_FALSE(iequals("abc", "abcd"));
    EXPECT_LT(icompare("abc", "ABD"), 0);
    EXPECT_GT(icompare("b", "A"), 0);
    EXPECT_LT(icompare("ab", "AB1"), 0);
    EXPECT_TRUE(istartsWith("Virtual;x", "virtual;"));
    EXPECT_FALSE(istartsWith("virt", "virtual;"));
    EXPECT_EQ(toUpperAscii("ab\u00E9"), "AB\u00E9");
    EXPECT_EQ(trimControl("\t kB/s \0"), "kB/s");
    EXPECT_EQ(trimControl("   "), "");
}

namespace fs = std::filesystem;

// Matches a call that fails with an error of this kind.
auto failsAs(ErrorKind kind) {
    return testing::Throws<Error>(testing::Property(&Error::kind, kind));
}

// A replacement keeps the permissions; a failed one leaves the original and
// no temporary file.
TEST(FileIo, ReplacesContentsOrLeavesTheOriginal) {
    test::TempDir dir;
    const std::vector<std::uint8_t> fresh{'n', 'e', 'w'}, x{'x'};
    std::string path = dir.write("known.met", "old contents");
#ifndef _WIN32
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
#endif
    replaceFileContents(path, fresh);
    EXPECT_EQ(test::readText(path), "new");
#ifndef _WIN32
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
#endif
    EXPECT_EQ(dir.entryCount(), 1u);
    EXPECT_EQ(readWholeFile(path), fresh);

    // A folder in the way of the rename makes the last step fail.
    std::string blocked = dir.mkdir("blocked");
    dir.write("blocked/inside", "x");
    blocked.pop_back();
    EXPECT_THAT([&] { replaceFileContents(blocked, x); }, failsAs(ErrorKind::io));
    EXPECT_EQ(test::readText(path), "new");
    EXPECT_EQ(dir.entryCount(), 2u);

    EXPECT_EQ(test::errorOf([&] { replaceFileContents(dir.file("no-folder/a"), x); }),
              test::missingFolderText());
    EXPECT_EQ(test::errorOf([&] { readWholeFile(dir.file("absent")); }),
              "Cannot open \"" + dir.file("absent") + "\": " + test::missingFileText());
    EXPECT_EQ(test::errorOf([&] { writeNamedFile(dir.file("no-folder/a"), x); }),
              "Cannot write \"" + dir.file("no-folder/a") + "\": " + test::missingFolderText());

    // What the system refused is an I/O failure, through every layer.
    EXPECT_THAT([&] { readWholeFile(dir.file("absent")); }, failsAs(ErrorKind::io));
    EXPECT_THAT([&] { writeNamedFile(dir.file("no-folder/a"), x); }, failsAs(ErrorKind::io));
    EXPECT_THAT([&] { readWholeFile(path, 2); }, failsAs(ErrorKind::invalidFile));
}

// Every spelling of one folder must give the same name, or a check for the
// recorder of that folder looks at a mutex nobody holds.
TEST(FileIo, EverySpellingOfAFolderIsCanonicalisedAlike) {
    test::TempDir dir;
    const std::string folder = dir.mkdir("config");
    const std::string expected = canonicalFolder(folder);
    std::vector<std::string> spellings = {folder.substr(0, folder.size() - 1),
                                          dir.path() + "/config//",
                                          dir.path() + "config/../config/./"};
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
    const std::pair<std::int64_t, bool> rows[] = {
        {now, false},
        {now - settleMs, false},
        {now - settleMs - 1, true},
        {now + settleMs, false},
        {now + settleMs + 1, true}, // the clock was set back after the save
        {-1, true},                 // no stamp known
    };
    for (const auto& [stamp, settled] : rows)
        EXPECT_EQ(hasSettled(now, stamp), settled) << stamp - now;
}

} // namespace
} // namespace pln
