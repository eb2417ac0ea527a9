#include "graph_fixture.h"
#include "graphs/core/events_log.h"
#include "graphs/core/us_date_time.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pln::test {
namespace {

using ::testing::ElementsAre;

CalendarMs when(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return calendarDayOf(year, month, day) * msPerDay +
           ((hour * 60LL + minute) * 60 + second) * 1000;
}

TEST(UsDateTimeTest, FormsAndReadsTheUsForm) {
    const std::pair<CalendarMs, const char*> rows[] = {
        {when(2021, 3, 7), "3/7/2021"},
        {when(2021, 12, 25, 0, 0, 1), "12/25/2021 12:00:01 AM"},
        {when(2021, 12, 25, 12, 5, 9), "12/25/2021 12:05:09 PM"},
        {when(1999, 1, 2, 23, 59, 58), "1/2/1999 11:59:58 PM"},
    };
    for (auto [value, text] : rows) {
        EXPECT_EQ(formatUsDateTime(value), text);
        EXPECT_EQ(parseUsDateTime(text), value) << text;
    }
    EXPECT_EQ(parseUsDateTime("1/2/1999 23:59"), when(1999, 1, 2, 23, 59));
    for (const char* bad : {"", "2/30/2021", "13/1/2021", "1/1/2021 13:00:00 PM", "1/1/2021 x",
                            "1/1/2021 1:60:00", "21.03.2021", "1/1/20210", "1/1/2021 24:00"})
        EXPECT_FALSE(parseUsDateTime(bad)) << bad;
}

class EventsLogTest : public ::testing::Test {
protected:
    TempDir dir;
    RecordingPrompter prompter;
    std::string path = eventsLogPath(dir.path());
};

TEST_F(EventsLogTest, OrderAccessorsAndFileRoundTrip) {
    tEventsLog log(path);
    log.add({when(2021, 5, 1, 14), tEvent::makePart("b file", "fedcba9876543210fedcba9876543210")});
    log.add({when(2021, 5, 1, 14), "Zeta"});
    log.add({when(2021, 5, 1, 14), "alpha"});
    log.add({when(2021, 4, 1), "Café " + std::string(32, 'x').insert(0, "|")});
    log.add({when(2021, 6, 1), "   "});
    log.add({when(2021, 6, 2), "two\nlines"});
    log.save();
    EXPECT_EQ(readText(path), "4/1/2021=Café |xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\r\n"
                              "5/1/2021 2:00:00 PM=alpha\r\n"
                              "5/1/2021 2:00:00 PM=Zeta\r\n"
                              "5/1/2021 2:00:00 PM=b file|FEDCBA9876543210FEDCBA9876543210\r\n"
                              "6/2/2021=two lines\r\n");

    tEventsLog again(path);
    again.load(prompter);
    EXPECT_TRUE(prompter.shown.empty());
    ASSERT_EQ(again.count(), 5u);
    // Not a hash: shown whole, no file.
    EXPECT_EQ(again.text(0), "Café |" + std::string(32, 'x'));
    EXPECT_EQ(again.hash(0), "");
    EXPECT_EQ(again.text(3), "b file");
    EXPECT_EQ(again.hash(3), "FEDCBA9876543210FEDCBA9876543210");
    EXPECT_EQ(again.search(when(2021, 5, 1, 14)), 1u);
    EXPECT_EQ(again.search(when(2021, 5, 1, 14, 0, 1)), 4u);
}

TEST_F(EventsLogTest, BadLinesAreReportedAndSkipped) {
    // An older file keeps its descriptions in Windows-1252; an editor may put
    // a byte-order mark first.
    dir.write("events.log", "\xEF\xBB\xBF"
                            "1/1/2020=one\r\nyesterday=two\r\n\r\n1/2/2020 3:04:05 AM =  thr\xE9"
                            "e  \n"
                            "1/3/2020\r\n2/31/2020=four\r\n");
    tEventsLog log(path);
    std::optional<tEventsFileState> lastRead;
    log.load(prompter, &lastRead);
    log.load(prompter, &lastRead);
    EXPECT_THAT(prompter.errors(), ElementsAre("Invalid value in events.log at line 2",
                                               "Invalid value in events.log at line 6"));
    ASSERT_EQ(log.count(), 3u);
    EXPECT_EQ(log.text(0), "one");
    EXPECT_EQ(log.text(1), "thr\u00E9e");
    EXPECT_EQ(log.date(1), when(2020, 1, 2, 3, 4, 5));
    EXPECT_EQ(log.text(2), "");

    tEventsLog missing(dir.file("none.log"));
    missing.load(prompter);
    EXPECT_EQ(missing.count(), 0u);
    EXPECT_EQ(prompter.errors().size(), 2u);

    dir.write("events.log", "now=one\r\n");
    log.load(prompter, &lastRead);
    EXPECT_EQ(prompter.errors().back(), "Invalid value in events.log at line 1");
}

} // namespace
} // namespace pln::test
