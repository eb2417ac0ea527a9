#include "emulefiles/core/dat_text_reader.h"
#include "emulefiles/core/shared_data.h"
#include "emulefiles/core/windows_path.h"
#include "known_met_bytes.h"
#include "stamp_sequence.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pln {
namespace {

constexpr std::uint32_t knownDate = 1'600'000'000;

tSharedData writtenAt(std::int64_t msAfterKnown, std::int64_t extraNs = 0) {
    tSharedData d;
    d.lastWriteTime =
        (static_cast<std::int64_t>(knownDate) * 1000 + msAfterKnown) * 1'000'000 + extraNs;
    return d;
}

TEST(SameFileDate, WholeHoursUpToSixMatch) {
    const struct {
        const char* name;
        std::int64_t msAfterKnown;
        bool matches;
        std::int64_t extraNs = 0;
    } rows[] = {
        {"Exact", 0, true},
        {"Plus400ms", 400, true},
        {"PlusOneSecondExactly", 1000, false},
        {"MinusOneSecondExactlyIsShiftedInside", -1000, true},
        {"Plus2h400ms", 7'200'400, true},
        {"Plus2h1s400ms", 7'201'400, false},
        {"Minus3599s600ms", -3'599'600, false},
        {"MinusOneHourExactlyIsShiftedOutside", -3'600'000, false},
        {"MinusOneHour400ms", -3'600'400, true},
        {"PlusSixHours", 21'600'000, true},
        {"MinusSixHours500ms", -21'600'500, true},
        {"PlusSevenHours", 25'200'000, false},
        {"PlusHalfHour", 1'800'000, false},
        // Parts below the millisecond are dropped before the shift.
        {"Plus999999ns", 0, true, 999'999},
        {"Plus1s500us", 1000, false, 500'000},
        {"Plus999ms999999ns", 999, true, 999'999},
    };
    for (const auto& row : rows)
        EXPECT_EQ(sameFileDate(knownDate, writtenAt(row.msAfterKnown, row.extraNs)), row.matches)
            << row.name;
}

tSharedFile file(std::string name, std::string folder, std::uint64_t size, std::int64_t msAfter) {
    tSharedData d = writtenAt(msAfter);
    d.path = std::move(folder);
    d.size = size;
    return {std::move(name), d};
}

TEST(SharedFileTable, FindMatchesNameSizeAndDate) {
    tSharedFileTable table;
    table.assign({file("alpha.bin", "/s/", 10, 0),
                  file("Beta.bin", "/s/", 5'000'000'000, 3'600'000),
                  file("gamma.bin", "/s/", 30, 0), file("Ärger.mp3", "/s/", 40, 0)});
    EXPECT_EQ(findSharedFile(table, "BETA.BIN", 5'000'000'000, knownDate), 1);
    EXPECT_EQ(findSharedFile(table, "ärger.MP3", 40, knownDate), 3);
    EXPECT_EQ(findSharedFile(table, "alpha.bin", 10, knownDate), 0);
    EXPECT_EQ(findSharedFile(table, "beta.bin", 5'000'000'001, knownDate), -1);
    EXPECT_EQ(findSharedFile(table, "beta.bin", 5'000'000'000, knownDate + 1), -1);
    EXPECT_EQ(findSharedFile(table, "delta.bin", 10, knownDate), -1);
    EXPECT_EQ(findSharedFile(table, "", 10, knownDate), -1);
    EXPECT_EQ(findSharedFile(tSharedFileTable(), "alpha.bin", 10, knownDate), -1);
}

TEST(WindowsPath, TrailingDelimiterFollowsThePathsOwnForm) {
    EXPECT_EQ(withTrailingDelimiter("C:\\Share", '/'), "C:\\Share\\");
    EXPECT_EQ(withTrailingDelimiter("C:", '/'), "C:\\");
    EXPECT_EQ(withTrailingDelimiter("/home/u/share", '/'), "/home/u/share/");
    EXPECT_EQ(withTrailingDelimiter("share", '\\'), "share\\");
    EXPECT_EQ(withTrailingDelimiter("/home/", '/'), "/home/");
    EXPECT_EQ(comparePaths("C:\\Share\\A.TXT", "c:/share/a.txt"), 0);
}

TEST(DatText, DecodesUtf16AndEightBitUpToTheFirstZero) {
    const std::pair<std::string_view, std::string_view> rows[] = {
        {"FFFE 4300 3A00 5C00 E900 0D00 0A00 4400 3A00 5C00 3BD8 00DF 0000 7800",
         "C:\\\xC3\xA9\r\nD:\\\xF0\x9E\xBC\x80"},
        {"433A5CE9 0D0A 443A5C78 00 67617262616765", "C:\\\xC3\xA9\r\nD:\\x"},
        {"EFBBBF 433A5C C3A9", "C:\\\xC3\xA9"},
        {"FFFE 4100 42", "A"},
        {"FFFE", ""},
    };
    for (const auto& [stored, text] : rows)
        EXPECT_EQ(decodeDatText(test::hex(stored)), text) << stored;
}

TEST(DatText, ReadsStableFilesOnlyAndSaysWhyNot) {
    test::TempDir dir;
    test::StampSequence fs;
    auto read = [&](const std::string& path, std::deque<std::optional<FileStamp>> stamps) {
        fs.files.insert(path);
        fs.next = std::move(stamps);
        return readDatText(fs, path);
    };
    std::string path = dir.write("shareddir.dat", "C:\\A\r\nC:\\B\r\n");
    tDatText good = read(path, {5000, 5000});
    EXPECT_TRUE(good.ok);
    EXPECT_EQ(good.text, "C:\\A\r\nC:\\B\r\n");
    EXPECT_EQ(good.stamp, 5000);

    tDatText changed = read(path, {5000, 5001});
    EXPECT_FALSE(changed.ok);
    EXPECT_EQ(changed.text, "");
    EXPECT_EQ(changed.error,
              "The \"" + path + "\" file has been modified while trying to read it.");

    std::string huge = dir.write("huge.dat", "x");
    std::filesystem::resize_file(huge, maxDatFileSize + 1);
    EXPECT_EQ(read(huge, {1, 1}).error,
              "The \"" + huge + "\" file is too large to be a list of paths.");
}

} // namespace
} // namespace pln
