#include "app/core/known_files_table.h"
#include "app/core/shared_lookup.h"
#include "common/text.h"
#include "emulefiles/core/known_met_list.h"
#include "logstore/core/log_files.h"
#include "logstore/core/recorder_link.h"
#include "platform/fake_platform.h"
#include "support/recording_prompter.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

constexpr CalendarMs second = 1000;
constexpr CalendarMs minute = 60 * second;
constexpr CalendarMs hour = 60 * minute;
constexpr CalendarMs base = 45'000LL * msPerDay; // a day in 2023

struct Case {
    const char* label;
    bool partFile;
    CalendarMs modified;
    CalendarMs created;
    tDled dled;
    const char* dlTime;
    std::int64_t sortMinutes;
};

TEST(KnownFileRow, DledAndDlTimeFollowTheFileDates) {
    const Case cases[] = {
        {"not shared", false, 0, 0, tDled::no, "", -1},
        {"not shared, part file", true, 0, 0, tDled::yes, "", -1},
        {"modified before creation", false, base, base + hour, tDled::no, "", -1},
        {"same dates", false, base, base, tDled::no, "", -1},
        {"29 s", false, base + 29 * second + 999, base, tDled::unlikely, "00 mn", 0},
        {"30 s", false, base + 30 * second, base, tDled::maybe, "00 mn", 0},
        {"7 min", false, base + 7 * minute, base, tDled::maybe, "07 mn", 7},
        {"1 d 0 h 7 min", false, base + msPerDay + 7 * minute, base, tDled::maybe, "1 d 00 h 07 mn",
         1447},
        {"3 d 4 h 9 min", false, base + 3 * msPerDay + 4 * hour + 9 * minute, base, tDled::maybe,
         "3 d 04 h 09 mn", 4569},
        {"4 h 59 min 40 s", false, base + 4 * hour + 59 * minute + 40 * second, base, tDled::maybe,
         "04 h 60 mn", 300},
        {"half a minute rounds to even", false, base + 2 * minute + 30 * second, base, tDled::maybe,
         "02 mn", 2},
        {"part file created after modification", true, base, base + 2 * hour + 3 * minute,
         tDled::yes, "02 h 03 mn", 123},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const tDled dled = dledOf(c.partFile, c.modified, c.created);
        EXPECT_EQ(dled, c.dled);
        tDlTime time;
        const bool shown = dlTimeOf(dled, c.modified, c.created, time);
        EXPECT_EQ(shown ? dlTimeText(time) : std::string(), c.dlTime);
        EXPECT_EQ(shown ? time.sortMinutes() : -1, c.sortMinutes);
    }
    EXPECT_EQ(dledText(tDled::unlikely), "Unlikely");
    EXPECT_EQ(knownFileLogText(tLogState::permanent), "None");
}

std::string hashOf(int n) {
    char text[33];
    std::snprintf(text, sizeof text, "%032X", n);
    return text;
}

struct KnownFilesTable : testing::Test {
    test::TempDir dir;
    test::RecordingPrompter prompter;
    tDetachedRecorderLink recorder;
    tLogFiles logs{{dir.path(), prompter, recorder}};
    tKnownMetList list;
    tKnownFilesTable table;

    void add(int n, std::string name, std::uint64_t size, std::uint64_t transferred = 0) {
        list.append(
            name, tKnownMetRecord::createFromValues(name, hashOf(n), transferred, 0, 0, size, ""));
        list.record(list.count() - 1).date = static_cast<std::uint32_t>(n);
    }
    void log(int n, tLogState state) {
        ASSERT_TRUE(
            logs.createLogFile(hashOf(n), state, tLogHeader{valueTypeKnownFile, 0, 1.0, ""}));
    }
    // Files with an even date are shared, in a folder named after the name.
    tSharedLookup sharedEvenDates() {
        return [](std::string_view name, std::uint64_t,
                  std::uint32_t date) -> std::optional<tSharedMatch> {
            if (date % 2 != 0)
                return std::nullopt;
            return tSharedMatch{"/share/" + std::string(name.substr(0, 1)) + "/",
                                base + date * minute, base};
        };
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < table.count(); ++i)
            out.push_back(table.row(i).name);
        return out;
    }
};

TEST_F(KnownFilesTable, FillsAndSortsOnTheDesignPriorities) {
    add(1, "delta", 1000, 5);
    add(2, "Charlie", 999, 7);
    add(3, "bravo", 10);
    add(4, "alpha", 20);
    add(6, "echo", 30);
    log(1, tLogState::active);
    log(2, tLogState::inactive);
    log(6, tLogState::active);
    logs.scanLogs();

    table.fill(list, logs, tKnownFilesFilter::all, sharedEvenDates(), rankIgnoringAsciiCase);
    // Active logs, then inactive, then none; shared before unshared; by name.
    EXPECT_EQ(names(), (std::vector<std::string>{"echo", "delta", "Charlie", "alpha", "bravo"}));
    const tKnownFileRow& echo = table.row(0);
    EXPECT_EQ(echo.hashText, hashOf(6));
    EXPECT_EQ(echo.logState, tLogState::active);
    EXPECT_TRUE(echo.shared);
    EXPECT_EQ(echo.path, "/share/e/");
    EXPECT_EQ(echo.dled, tDled::maybe);
    EXPECT_EQ(echo.dlTime, "06 mn");
    const tKnownFileRow& delta = table.row(1);
    EXPECT_FALSE(delta.shared);
    EXPECT_EQ(delta.modified, 0);
    EXPECT_EQ(delta.path, "");
    EXPECT_EQ(delta.dlMinutes, -1);
    EXPECT_EQ(delta.transferred, 5u);

    table.sortOrder().columnClick(static_cast<int>(tKnownFilesColumn::size));
    table.sortByFirstPriority();
    EXPECT_EQ(names(), (std::vector<std::string>{"bravo", "alpha", "echo", "Charlie", "delta"}));
    table.sortOrder().columnClick(static_cast<int>(tKnownFilesColumn::size));
    table.sortByFirstPriority();
    EXPECT_EQ(names(), (std::vector<std::string>{"delta", "Charlie", "echo", "alpha", "bravo"}));

    // Clicking Name puts it first; rows of equal names would keep the size order.
    table.sortOrder().columnClick(static_cast<int>(tKnownFilesColumn::name));
    table.sortByFirstPriority();
    EXPECT_EQ(names(), (std::vector<std::string>{"alpha", "bravo", "Charlie", "delta", "echo"}));
    table.sortOrder().columnRightClick(static_cast<int>(tKnownFilesColumn::dlTime));
    table.sortOrder().columnClick(static_cast<int>(tKnownFilesColumn::dlTime));
    table.sortByFirstPriority();
    EXPECT_EQ(table.row(0).name, "echo");
    EXPECT_EQ(table.row(1).dlMinutes, 4);
}

TEST_F(KnownFilesTable, FiltersHideUnsharedOrUnloggedFiles) {
    add(1, "one", 1);
    add(2, "two", 2);
    add(3, "three", 3);
    add(4, "four", 4);
    log(3, tLogState::inactive);
    log(4, tLogState::active);
    logs.scanLogs();

    table.fill(list, logs, tKnownFilesFilter::shared, sharedEvenDates(), rankIgnoringAsciiCase);
    EXPECT_EQ(names(), (std::vector<std::string>{"four", "two"}));
    table.fill(list, logs, tKnownFilesFilter::logged, sharedEvenDates(), rankIgnoringAsciiCase);
    EXPECT_EQ(names(), (std::vector<std::string>{"four", "three"}));
    table.fill(list, logs, tKnownFilesFilter::all, sharedEvenDates(), rankIgnoringAsciiCase);
    EXPECT_EQ(table.count(), 4u);
    for (std::size_t i = 0; i < table.count(); ++i)
        EXPECT_EQ(table.row(i).record->getFileName(), table.row(i).name);
}

TEST(KnownFileRowCompare, NumbersAndDatesCompareAsValues) {
    tKnownFileRow small;
    tKnownFileRow large;
    small.size = 999;
    large.size = 1000;
    EXPECT_LT(compareKnownFileRows(small, large, static_cast<int>(tKnownFilesColumn::size)), 0);
    small.transferred = 0xFFFFFFFFFFFFFFFFull;
    EXPECT_GT(compareKnownFileRows(small, large, static_cast<int>(tKnownFilesColumn::transferred)),
              0);
    small.modified = base + 400;
    large.modified = base + 900;
    EXPECT_EQ(compareKnownFileRows(small, large, static_cast<int>(tKnownFilesColumn::lastModified)),
              0);
    large.modified = base + 1000;
    EXPECT_LT(compareKnownFileRows(small, large, static_cast<int>(tKnownFilesColumn::lastModified)),
              0);
}

TEST(KnownFileRowCompare, LogAndDledFollowTheirCellTexts) {
    auto sign = [](int n) { return (n > 0) - (n < 0); };
    tKnownFileRow a;
    tKnownFileRow b;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            a.logState = static_cast<tLogState>(i);
            b.logState = static_cast<tLogState>(j);
            EXPECT_EQ(sign(compareKnownFileRows(a, b, static_cast<int>(tKnownFilesColumn::log))),
                      sign(icompare(knownFileLogText(a.logState), knownFileLogText(b.logState))));
            a.dled = static_cast<tDled>(i);
            b.dled = static_cast<tDled>(j);
            EXPECT_EQ(sign(compareKnownFileRows(a, b, static_cast<int>(tKnownFilesColumn::dled))),
                      sign(icompare(dledText(a.dled), dledText(b.dled))));
        }
}

constexpr FileTime nsPerSecond = 1'000'000'000;

TEST(SharedLookup, GivesTheFolderAndLocalDatesOfTheMatchingFile) {
    tSharedFileTable table;
    const FileTime written = 1'600'000'000 * nsPerSecond + 400'000'000;
    table.assign({{"Movie.avi", {"/share/", written, 0, 0, 700}},
                  {"other.iso", {"/share/", written, written - 90 * nsPerSecond, 0, 5}}});
    FakeClock clock;
    clock.utcOffsetMs = 3'600'000;
    const tSharedLookup lookup = sharedFileLookup(table, clock);

    const auto match = lookup("movie.AVI", 700, 1'600'000'000);
    ASSERT_TRUE(match);
    EXPECT_EQ(match->folder, "/share/");
    EXPECT_EQ(match->modified, unixEpochCalendarMs + 1'600'000'000'400 + 3'600'000);
    EXPECT_EQ(match->created, 0); // unknown to the file system
    EXPECT_EQ(lookup("other.iso", 5, 1'600'000'000)->created,
              unixEpochCalendarMs + 1'599'999'910'400 + 3'600'000);
    EXPECT_FALSE(lookup("Movie.avi", 701, 1'600'000'000));
    EXPECT_FALSE(lookup("Movie.avi", 700, 1'600'000'002));
}

} // namespace
} // namespace pln
