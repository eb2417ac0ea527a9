#include "app/core/errors_log.h"
#include "common/error.h"
#include "common/file_io.h"
#include "logstore/core/dos_date_time.h"
#include "support/error_text.h"
#include "support/temp_dir.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace pln {
namespace {

std::string iso(CalendarMs when) {
    return formatIsoDateTime(when);
}

TEST(ErrorsLogTest, TimesAreDaysWithPointDecimals) {
    CalendarMs noon = calendarDayOf(2006, 10, 10) * msPerDay + msPerDay / 2;
    EXPECT_EQ(formatErrorsLogTime(noon), "39000.5");
    EXPECT_EQ(formatErrorsLogTime(calendarDayOf(2006, 10, 10) * msPerDay), "39000");
    EXPECT_EQ(formatErrorsLogTime(noon + 1000), "39000.5000115741");
    EXPECT_EQ(formatErrorsLogTime(-msPerDay / 4), "-1.75");
    for (CalendarMs when : {noon, noon + 1000, noon + 86'399'000, CalendarMs{-msPerDay / 4}})
        EXPECT_EQ(parseErrorsLogTime(formatErrorsLogTime(when)), when);
    EXPECT_FALSE(parseErrorsLogTime("39000,5"));
    EXPECT_FALSE(parseErrorsLogTime("1e300"));
    EXPECT_FALSE(parseErrorsLogTime(""));
    EXPECT_EQ(errorsLogLine(noon, "first\r\nsecond"), "39000.5|first  second");
    // A line without a time is dropped; a time that does not read stays as it is.
    EXPECT_EQ(
        errorsLogDisplayLines("39000.5|Saved\r\nno bar\n|no time\nnow|kept\n39000.25|a|b\n", iso),
        (std::vector<std::string>{"2006-10-10T12:00:00   Saved", "now|kept",
                                  "2006-10-10T06:00:00   a|b"}));
}

TEST(ErrorsLogTest, AHugeFileIsReadFromItsTail) {
    test::TempDir dir;
    std::string head(errorsLogReadLimit, 'x');
    std::string path = dir.write("errors.log", head + "\n39000.5|last\n");
    std::string text = readErrorsLog(path);
    EXPECT_EQ(text, "39000.5|last\n");
    EXPECT_EQ(readErrorsLog(dir.write("bad.log", "1|\xFF\n")), "1|\xEF\xBF\xBD\n");
    EXPECT_EQ(test::errorOf([&] { readErrorsLog(dir.file("missing.log")); }),
              "Cannot open \"" + dir.file("missing.log") + "\": " + systemErrorText(ENOENT))
        << "read through the C library";
}

} // namespace
} // namespace pln
