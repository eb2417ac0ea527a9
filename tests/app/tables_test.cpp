#include "app/core/help_texts.h"
#include "app/core/shared_lookup.h"
#include "app/core/stats_logs_table.h"
#include "app/core/tags_text.h"
#include "common/text.h"
#include "emulefiles/core/known_met_list.h"
#include "logstore/core/log_files.h"
#include "logstore/core/recorder_link.h"
#include "platform/fake_platform.h"
#include "support/hash_text.h"
#include "support/recording_prompter.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

constexpr CalendarMs s = 1000, mn = 60 * s, h = 60 * mn, d = msPerDay;
constexpr CalendarMs base = 45'000LL * msPerDay; // a day in 2023

TEST(KnownFileRow, DledAndDlTimeFollowTheFileDates) {
    using enum tDled;
    using Ms = CalendarMs;
    const std::tuple<const char*, bool, Ms, Ms, tDled, const char*, std::int64_t> cases[] = {
        {"not shared", false, 0, 0, no, "", -1},
        {"not shared, part file", true, 0, 0, yes, "", -1},
        {"modified before creation", false, base, base + h, no, "", -1},
        {"same dates", false, base, base, no, "", -1},
        {"29 s", false, base + 29 * s + 999, base, unlikely, "00 mn", 0},
        {"30 s", false, base + 30 * s, base, maybe, "00 mn", 0},
        {"7 min", false, base + 7 * mn, base, maybe, "07 mn", 7},
        {"1 d 0 h 7 min", false, base + d + 7 * mn, base, maybe, "1 d 00 h 07 mn", 1447},
        {"3 d", false, base + 3 * d + 4 * h + 9 * mn, base, maybe, "3 d 04 h 09 mn", 4569},
        {"4 h 59 min 40 s", false, base + 4 * h + 59 * mn + 40 * s, base, maybe, "04 h 60 mn", 300},
        {"half a minute rounds to even", false, base + 2 * mn + 30 * s, base, maybe, "02 mn", 2},
        {"part file created later", true, base, base + 2 * h + 3 * mn, yes, "02 h 03 mn", 123},
    };
    for (const auto& [label, partFile, modified, created, expected, dlTime, minutes] : cases) {
        SCOPED_TRACE(label);
        const tDled dled = dledOf(partFile, modified, created);
        EXPECT_EQ(dled, expected);
        tDlTime time;
        const bool shown = dlTimeOf(dled, modified, created, time);
        EXPECT_EQ(shown ? dlTimeText(time) : std::string(), dlTime);
        EXPECT_EQ(shown ? time.sortMinutes() : -1, minutes);
    }
    EXPECT_EQ(knownFileLogText(tLogState::permanent), "None");
}

struct LogsFixture : testing::Test {
    test::TempDir dir;
    test::RecordingPrompter prompter;
    tDetachedRecorderLink recorder;
    tLogFiles logs{{dir.path(), prompter, recorder}};
};

struct KnownFilesTable : LogsFixture {
    tKnownMetList list;
    tKnownFilesTable table;

    // A known file of date n, with a log unless `state` is none.
    void add(int n, std::string name, std::uint64_t size, std::uint64_t transferred,
             tLogState state) {
        list.append(name, tKnownMetRecord::createFromValues(name, test::hashOf(n), transferred, 0,
                                                            0, size, ""));
        list.record(list.count() - 1).date = static_cast<std::uint32_t>(n);
        EXPECT_TRUE(state == tLogState::none ||
                    logs.createLogFile(test::hashOf(n), state, {valueTypeKnownFile, 0, 1.0, ""}));
    }
};

TEST_F(KnownFilesTable, FillsAndSortsOnTheDesignPriorities) {
    add(1, "delta", 1000, 5, tLogState::active);
    add(2, "Charlie", 999, 7, tLogState::inactive);
    add(3, "bravo", 10, 0, tLogState::none);
    add(4, "alpha", 20, 0, tLogState::none);
    add(6, "echo", 30, 0, tLogState::active);
    logs.scanLogs();
    // Files with an even date are shared, in a folder named after the name.
    const tSharedLookup sharedEvenDates = [](std::string_view name, std::uint64_t,
                                             std::uint32_t date) -> std::optional<tSharedMatch> {
        if (date % 2 != 0)
            return std::nullopt;
        return tSharedMatch{"/share/" + std::string(name.substr(0, 1)) + "/", base + date * mn,
                            base};
    };

    table.fill(list, logs, tKnownFilesFilter::all, sharedEvenDates, rankIgnoringAsciiCase);
    // Active logs, then inactive, then none; shared before unshared; by name.
    std::vector<std::string> names;
    for (std::size_t i = 0; i < table.count(); ++i)
        names.push_back(table.row(i).name);
    EXPECT_EQ(names, (std::vector<std::string>{"echo", "delta", "Charlie", "alpha", "bravo"}));
    // The cells of unshared files and the log texts are checked on the list.
    const tKnownFileRow& echo = table.row(0);
    EXPECT_EQ(std::tie(echo.shared, echo.path, echo.dled, echo.dlTime),
              std::tuple(true, "/share/e/", tDled::maybe, "06 mn"));

    // Header clicks and ties are the list's; here the download time sorts
    // on its minutes.
    table.sortOrder().columnRightClick(static_cast<int>(tKnownFilesColumn::dlTime));
    table.sortOrder().columnClick(static_cast<int>(tKnownFilesColumn::dlTime));
    table.sortByFirstPriority();
    EXPECT_EQ(table.row(0).name, "echo");
    EXPECT_EQ(table.row(1).dlMinutes, 4);
}

constexpr auto sign = [](int n) { return (n > 0) - (n < 0); };

// Numbers compare as values, dates to the second, the log and DLed columns
// by their cell texts.
TEST(KnownFileRow, ColumnsCompareAsTheyRead) {
    const auto compare = [](const tKnownFileRow& a, const tKnownFileRow& b, tKnownFilesColumn c) {
        return sign(compareKnownFileRows(a, b, static_cast<int>(c)));
    };
    tKnownFileRow a, b;
    a.size = 999;
    b.size = 1000;
    a.transferred = 0xFFFFFFFFFFFFFFFFull;
    a.modified = base + 400;
    b.modified = base + 900;
    EXPECT_EQ(compare(a, b, tKnownFilesColumn::size), -1);
    EXPECT_EQ(compare(a, b, tKnownFilesColumn::transferred), 1);
    EXPECT_EQ(compare(a, b, tKnownFilesColumn::lastModified), 0);
    b.modified = base + 1000;
    EXPECT_EQ(compare(a, b, tKnownFilesColumn::lastModified), -1);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            a.logState = static_cast<tLogState>(i);
            b.logState = static_cast<tLogState>(j);
            EXPECT_EQ(compare(a, b, tKnownFilesColumn::log),
                      sign(icompare(knownFileLogText(a.logState), knownFileLogText(b.logState))));
            a.dled = static_cast<tDled>(i);
            b.dled = static_cast<tDled>(j);
            EXPECT_EQ(compare(a, b, tKnownFilesColumn::dled),
                      sign(icompare(dledText(a.dled), dledText(b.dled))));
        }
}

TEST(SharedLookup, GivesTheFolderAndLocalDatesOfTheMatchingFile) {
    tSharedFileTable table;
    const FileTime written = 1'600'000'000'400'000'000; // nanoseconds
    table.assign({{"Movie.avi", {"/share/", written, 0, 0, 700}},
                  {"other.iso", {"/share/", written, written - 90'000'000'000, 0, 5}}});
    FakeClock clock;
    clock.utcOffsetMs = 3'600'000;
    const tSharedLookup lookup = sharedFileLookup(table, clock);

    const auto match = lookup("movie.AVI", 700, 1'600'000'000);
    ASSERT_TRUE(match);
    // The creation time is unknown to the file system.
    EXPECT_EQ(std::tie(match->folder, match->modified, match->created),
              std::tuple("/share/", unixEpochCalendarMs + 1'600'000'000'400 + 3'600'000, 0));
    EXPECT_EQ(lookup("other.iso", 5, 1'600'000'000)->created,
              unixEpochCalendarMs + 1'599'999'910'400 + 3'600'000);
    EXPECT_FALSE(lookup("Movie.avi", 701, 1'600'000'000));
    EXPECT_FALSE(lookup("Movie.avi", 700, 1'600'000'002));
}

TEST(SortOrder, HeaderClicksMoveAndReverseColumns) {
    // Log ascending, Shared descending, then Name, Size, Transferred, Hash,
    // DLed, Last modified, Path, DL time ascending; Log, already first, turns round.
    tSortOrder order = tSortOrder::fromImages(knownFilesDesignImages);
    order.columnClick(1);
    EXPECT_EQ(order.entries(), (std::vector<int>{-2, -4, 1, 3, 5, 6, 7, 8, 9, 10}));

    order.columnClick(3); // Shared moves up with its direction
    EXPECT_EQ(order.entries(), (std::vector<int>{-4, -2, 1, 3, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(std::pair(order.imageOf(3), order.imageOf(1)), std::pair(2, 4));

    order.columnClick(7); // Last modified from priority 8 to 1
    EXPECT_EQ(order.entries(), (std::vector<int>{8, -4, -2, 1, 3, 5, 6, 7, 9, 10}));

    order.columnRightClick(4); // Transferred at priority 5 turns round in place
    EXPECT_EQ(order.entries(), (std::vector<int>{8, -4, -2, 1, 3, -5, 6, 7, 9, 10}));
    EXPECT_EQ(order.imageOf(4), 12);
    order.columnRightClick(4);
    EXPECT_EQ(order.imageOf(4), 11);
    // Equal texts share a rank.
    EXPECT_EQ(rankIgnoringAsciiCase({"beta", "Alpha", "ALPHA", "gamma", ""}),
              (std::vector<std::uint32_t>{2, 1, 1, 3, 0}));
}

struct StatsLogsTable : LogsFixture {
    tStatsLogsTable table;

    void ini(const std::string& name, tLogState state, std::uint8_t flags = 0,
             const std::string& units = "", std::uint8_t type = valueTypeInteger) {
        ASSERT_TRUE(logs.createLogFile(name, state, {type, flags, 1.0, units}));
    }
    // Each row's value, file name, section and units, in one text.
    std::vector<std::string> rows() const {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < table.count(); ++i) {
            const auto& texts = table.row(i).texts;
            out.push_back(texts[0] + "|" + texts[2] + "|" + texts[3] + "|" + texts[4]);
        }
        return out;
    }
};

TEST_F(StatsLogsTable, ShowsEveryLogExceptKnownFileLogs) {
    ini("statistics.ini-statistics,ConnRunTime", tLogState::permanent, 1, "Hours / day");
    ini("statistics.ini-statistics,TotalUploadedBytes", tLogState::active);
    ini("preferences.ini-eMule,MaxUpload", tLogState::inactive, flagShowWithRequests);
    ini("statistics.ini-statistics,UpSuccessfulSessions", tLogState::active);
    ini("Queued clients", tLogState::active, 0, "", valueTypeShort);
    ASSERT_TRUE(logs.createLogFile("virtual;Average per session", tLogState::inactive,
                                   {valueTypeReal, 0, 1, "kB"},
                                   {tLogOperation::quotient,
                                    {"statistics.ini-statistics,TotalUploadedBytes",
                                     "statistics.ini-statistics,UpSuccessfulSessions"}}));
    ini("0123456789ABCDEF0123456789ABCDEF", tLogState::active, 0, "", valueTypeKnownFile);
    logs.scanLogs();
    table.fill(logs, rankIgnoringAsciiCase);

    // Permanent first, then active, then inactive; each by value name. The
    // log column, the ticks and the graph column are checked on the list.
    EXPECT_EQ(rows(), (std::vector<std::string>{
                          "ConnRunTime|statistics.ini|statistics|Hours / day",
                          "Queued clients|onlinesig.dat||",
                          "TotalUploadedBytes|statistics.ini|statistics|",
                          "UpSuccessfulSessions|statistics.ini|statistics|",
                          "Average per session|TotalUploadedBytes / UpSuccessfulSessions||kB",
                          "MaxUpload|preferences.ini|eMule|",
                      }));

    table.sortOrder().columnClick(static_cast<int>(tStatsLogsColumn::log));
    table.sortByFirstPriority();
    EXPECT_EQ(table.row(0).name, "virtual;Average per session");
    EXPECT_EQ(table.row(5).name, "statistics.ini-statistics,ConnRunTime");

    // A rescan replaces the logs: a row finds its log again by name, or none.
    logs.clearLogs();
    EXPECT_EQ(table.logAt(0), nullptr);
    table.refresh(0);
    EXPECT_EQ(table.row(0).state, tLogState::none);
    logs.scanLogs();
    EXPECT_EQ(table.logAt(0), logs.findLog("virtual;Average per session"));

    // Formulas of the operations in their stored order; an unknown one reads
    // as the second share.
    std::vector<std::string> formulas;
    for (int operation = 0; operation < 8; ++operation)
        formulas.push_back(combineFormula(static_cast<tLogOperation>(operation), "A%2", "B%1"));
    EXPECT_EQ(formulas, (std::vector<std::string>{"A%2 + B%1", "A%2 - B%1", "B%1 - A%2",
                                                  "A%2 / B%1", "B%1 / A%2", "A%2 / (A%2 + B%1)",
                                                  "B%1 / (A%2 + B%1)", "B%1 / (A%2 + B%1)"}));
}

// Numbers are marked to show that they went through the given format.
const tNumberFormat numbers{[](std::uint64_t n) { return "#" + std::to_string(n); }, {}};

TEST(TagsText, LinesUpNamesTypesAndValuesOfTenRecords) {
    auto file = tKnownMetRecord::createFromValues("file.avi", "00112233445566778899AABBCCDDEEFF", 0,
                                                  0, 0, 5'000'000'000ull, "");
    file->tags.append(tKnownMetTag::createFromValue(200, 1234));
    tKnownMetTag other = tKnownMetTag::createFromValue(200, 0);
    other.name = std::string(40, 'n');
    other.tagType = tagType::boolean;
    file->tags.append(other);
    other.name = std::nullopt;
    other.tagType = 42; // a type no name is known for
    file->tags.append(other);
    // Names take 33 columns, cut to 32, and types 10.
    EXPECT_EQ(recordTagsText(*file, numbers),
              "HASH                             HASH      00112233445566778899AABBCCDDEEFF\r\n"
              "FILENAME                         STRING    file.avi\r\n"
              "FILESIZE                         UINT64    #5000000000\r\n"
              "200                              UINT32    #1234\r\n"
              "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn BOOL      \r\n"
              "200                                        \r\n");

    // Ten records at most, each once; the separators between them are
    // checked on the list's tags box.
    std::vector<std::unique_ptr<tKnownMetRecord>> files;
    std::vector<const tKnownMetRecord*> selected;
    for (int i = 0; i < 15; ++i) {
        files.push_back(tKnownMetRecord::createFromValues("", test::hashOf(i), 0, 0, 0, 0, ""));
        selected.push_back(files.back().get());
    }
    EXPECT_TRUE(tagRecords(nullptr, nullptr, {}).empty());
    const auto shown = tagRecords(files[3].get(), nullptr, selected);
    ASSERT_EQ(shown.size(), 10u);
    EXPECT_EQ(shown[0], files[3].get());
    EXPECT_EQ(shown[1], files[0].get());
    EXPECT_EQ(shown[4], files[4].get());
    EXPECT_EQ(tagRecords(files[1].get(), files[1].get(), {files[1].get()}).size(), 1u);
}

TEST(HelpTexts, TipsNameTheMenusWithoutAccessKeys) {
    const auto tips =
        tipTexts({"&File", "&Compress logs", "&eMule stats and settings", "&New log..."}, 30);
    ASSERT_EQ(tips.size(), 11u);
    EXPECT_NE(tips[4].find(R"(the menu "File" -> "Compress logs" to reduce)"), std::string::npos);
    EXPECT_NE(tips[4].find("older than 30 days"), std::string::npos);
    EXPECT_NE(tips[4].find("one value every 6 hours"), std::string::npos);
    EXPECT_NE(tips[5].find(R"("eMule stats and settings" -> "New log...")"), std::string::npos);
    EXPECT_NE(tips[6].find(R"(- "Unlikely" means that less than 30 seconds)"), std::string::npos);
    EXPECT_NE(tips[6].find(R"(- "Yes" just means Yes (there's)"), std::string::npos);
    for (const auto& tip : tips)
        EXPECT_EQ(tip.find('&'), std::string::npos) << tip;
    // Paging both ways and the line breaks are the dialog's; a first tip
    // beyond the last wraps round.
    EXPECT_EQ(tTextPager(tips, 15).index(), 4u);

    const auto notes = noteTexts("eMule runtime days");
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_NE(notes[0].find(R"(with the "eMule runtime days" on)"), std::string::npos);
}

} // namespace
} // namespace pln
