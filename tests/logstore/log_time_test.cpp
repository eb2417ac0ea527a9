#include "log_fixture.h"
#include "logstore/core/dos_date_time.h"
#include "logstore/core/instants_cache.h"

#include <gtest/gtest.h>

namespace pln::test {
namespace {

constexpr CalendarMs at(std::int64_t day, int hour, int minute, int second) {
    return day * msPerDay + ((hour * 60 + minute) * 60 + second) * 1000LL;
}

TEST(DosDateTime, ConvertsPackedFieldsToExactCalendarMilliseconds) {
    // 1980-01-01 is day 29221 of the calendar, 2024-02-29 day 45351.
    EXPECT_EQ(dosDateTimeToCalendar(dos(1980, 1, 1)), at(29221, 0, 0, 0));
    EXPECT_EQ(dosDateTimeToCalendar(dos(2024, 2, 29, 13, 45, 58)), at(45351, 13, 45, 58));
    EXPECT_EQ(dosDateTimeToCalendar(dos(2024, 3, 1)), at(45352, 0, 0, 0));
    EXPECT_EQ(dosDateTimeToCalendar(dos(2100, 3, 1)) - dosDateTimeToCalendar(dos(2100, 2, 28)),
              msPerDay)
        << "2100 is no leap year";
    EXPECT_EQ(dosDateTimeToCalendar(dos(2044, 6, 1, 12)), at(52749, 12, 0, 0));
    // Fields out of range carry over instead of failing.
    EXPECT_EQ(dosDateTimeToCalendar(dos(2000, 13, 1)), dosDateTimeToCalendar(dos(2001, 1, 1)));
    EXPECT_EQ(dosDateTimeToCalendar(dos(2000, 0, 1)), dosDateTimeToCalendar(dos(1999, 12, 1)));
    EXPECT_EQ(dosDateTimeToCalendar(dos(2000, 3, 0)), dosDateTimeToCalendar(dos(2000, 2, 29)));
    EXPECT_EQ(dosDateTimeToCalendar(dos(2001, 2, 31)), dosDateTimeToCalendar(dos(2001, 3, 3)));
    EXPECT_EQ(dosDateTimeToCalendar(0xFFFFFFFFu), at(calendarDayOf(2108, 3, 31), 31, 63, 62));
    // The unsigned stamp order follows time across 2044.
    std::uint32_t before = dos(2043, 12, 31, 23, 59, 58), after = dos(2044, 1, 1);
    ASSERT_GT(after, 0x7FFFFFFFu);
    EXPECT_LT(before, after);
    EXPECT_LT(dosDateTimeToCalendar(before), dosDateTimeToCalendar(after));
}

// Back from the calendar, truncated to two seconds and clamped to the stamp range.
TEST(DosDateTime, ConvertsBackTruncatingToTwoSecondsAndClamping) {
    EXPECT_EQ(calendarToDosDateTime(at(45351, 13, 45, 59) + 999), dos(2024, 2, 29, 13, 45, 58));
    EXPECT_EQ(calendarToDosDateTime(at(45351, 23, 59, 58)), dos(2024, 2, 29, 23, 59, 58));
    for (std::uint32_t stamp : {dos(1980, 1, 1), dos(1999, 12, 31, 23, 59, 58), dos(2044, 1, 1),
                                dos(2107, 12, 31, 23, 59, 58)})
        EXPECT_EQ(calendarToDosDateTime(dosDateTimeToCalendar(stamp)), stamp);
    EXPECT_EQ(calendarToDosDateTime(at(0, 0, 0, 0)), firstDosDateTime);
    EXPECT_EQ(calendarToDosDateTime(at(29220, 23, 59, 59)), firstDosDateTime);
    EXPECT_EQ(calendarToDosDateTime(at(200000, 0, 0, 0)), lastDosDateTime);
    EXPECT_EQ(lastDosDateTime, dos(2107, 12, 31, 23, 59, 58));
}

TEST(DosDateTime, IsoTextBothWays) {
    EXPECT_EQ(formatIsoDateTime(at(45351, 13, 45, 58) + 999), "2024-02-29T13:45:58");
    EXPECT_EQ(parseIsoDateTime("2024-02-29T13:45:58"), at(45351, 13, 45, 58));
    EXPECT_EQ(parseIsoDateTime("2024-02-29 13:45"), at(45351, 13, 45, 0));
    for (const char* bad :
         {"2023-02-29T00:00:00", "2024-13-01T00:00", "2024-04-31 00:00", "2024-01-01T24:00",
          "2024-1-01T00:00", "2024-01-01", "2024-01-01T00:00:0x"})
        EXPECT_FALSE(parseIsoDateTime(bad)) << bad;
}

tInstants instants(std::size_t count) {
    return std::make_shared<const std::vector<std::int64_t>>(count, 0);
}

TEST(InstantsCacheTest, KeepsTheRecentlyUsedWithinItsBudgetForTheSameVersionOnly) {
    tInstantsCache cache(3 * sizeof(std::int64_t));
    const FileVersion v1{1, 2, 3, 4, 5}, v2{1, 2, 3, 4, 6};
    cache.store("a", v1, instants(2));
    cache.store("b", v1, instants(1));
    EXPECT_NE(cache.find("a", v1), nullptr);
    cache.store("c", v1, instants(1));
    EXPECT_EQ(cache.find("b", v1), nullptr) << "least recently used, beyond the budget";
    EXPECT_NE(cache.find("c", v1), nullptr);
    EXPECT_EQ(cache.find("a", v2), nullptr) << "another version of the file";
    EXPECT_EQ(cache.find("a", v1), nullptr) << "dropped with its old version";
    cache.store("d", v1, instants(4));
    EXPECT_EQ(cache.find("d", v1), nullptr) << "larger than the whole budget";
    EXPECT_NE(cache.find("c", v1), nullptr);
}

} // namespace
} // namespace pln::test
