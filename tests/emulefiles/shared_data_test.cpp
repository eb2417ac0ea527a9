#include "emulefiles/core/shared_data.h"
#include "emulefiles/core/windows_path.h"

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

} // namespace
} // namespace pln
