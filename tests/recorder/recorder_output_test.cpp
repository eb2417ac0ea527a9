#include "app/core/errors_log.h"
#include "common/error.h"
#include "common/file_io.h"
#include "logstore/core/dos_date_time.h"
#include "logstore/log_fixture.h"
#include "platform/locked_file.h"
#include "recorder/log_appender.h"
#include "recorder/log_values.h"
#include "support/error_text.h"
#include "support/temp_dir.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace pln::test {
namespace {

std::string appendError(const TempDir& dir, const std::string& file, tLogKind kind,
                        std::uint8_t valueType, const std::vector<std::uint8_t>& record) {
    return errorOf([&] { appendRecord(dir.path(), file, kind, valueType, record); });
}

// A record goes after the last whole record, over a partial one; a file that
// does not match the record, or that the viewer reads, is left as it is.
TEST(LogAppenderTest, AppendsAfterTheLastWholeRecordOrRefusesTheFile) {
    TempDir dir;
    dir.write("a.ini-s,k.pln_on", LogBytes::stats().int32Record(1, 7).raw("xyz").bytes());
    auto record = *statsRecord(0x55000000, 3, "-2");
    appendRecord(dir.path(), "a.ini-s,k.pln_on", tLogKind::iniValue, 3, record);
    EXPECT_EQ(readBytes(dir.file("a.ini-s,k.pln_on")),
              LogBytes::stats().int32Record(1, 7).int32Record(0x55000000, -2).bytes())
        << "the partial record is overwritten";

    dir.write("bad.ini-s,k.pln", LogBytes().prefix(1, "PLN", 1).header(3, 0, 1, "").bytes());
    dir.write("type.ini-s,k.pln", LogBytes::stats(4).bytes());
    dir.write("short.ini-s,k.pln", LogBytes().prefix(1).raw("abc").bytes());
    for (const char* file : {"bad.ini-s,k.pln", "type.ini-s,k.pln", "short.ini-s,k.pln"})
        EXPECT_EQ(appendError(dir, file, tLogKind::iniValue, 3, record),
                  std::string("Invalid log file: \"") + file + "\"");
    EXPECT_EQ(readBytes(dir.file("type.ini-s,k.pln")).size(), 79u) << "nothing was written";
    EXPECT_EQ(appendError(dir, "missing.ini-s,k.pln", tLogKind::iniValue, 3, record),
              missingFileText());
    std::string path =
        dir.write("0123456789ABCDEF0123456789ABCDEF.pln_on", LogBytes().prefix(0).bytes());
    LockedFile reader(path, LockedFile::Access::Read);
    EXPECT_EQ(appendError(dir, "0123456789ABCDEF0123456789ABCDEF.pln_on", tLogKind::knownFile, 6,
                          std::vector<std::uint8_t>(20)),
              fileInUseText);
}

TEST(LogValuesTest, ValuesMustSuitTheLogsValueType) {
    struct Row {
        std::uint8_t type;
        const char* text;
        std::vector<std::uint8_t> value; // empty: refused
    };
    const Row rows[] = {
        {1, "1", {1}},         {1, "-128", {0x80}},
        {1, "128", {}},        {2, "-2", {0xFE, 0xFF}},
        {2, "40000", {}},      {3, "+2147483647", {0xFF, 0xFF, 0xFF, 0x7F}},
        {3, "2147483648", {}}, {4, "-1", std::vector<std::uint8_t>(8, 0xFF)},
        {4, "1.5", {}},        {4, "12abc", {}},
        {4, "", {}},           {5, "0.5", {0, 0, 0, 0, 0, 0, 0xE0, 0x3F}},
        {5, "1,5", {}},        {6, "1", {}},
    };
    for (const Row& row : rows) {
        std::vector<std::uint8_t> expected = row.value; // after the date's bytes
        if (!expected.empty())
            expected.insert(expected.begin(), {4, 3, 2, 1});
        EXPECT_EQ(statsRecord(0x01020304, row.type, row.text).value_or(std::vector<std::uint8_t>()),
                  expected)
            << row.text;
    }
}

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
    TempDir dir;
    std::string head(errorsLogReadLimit, 'x');
    std::string path = dir.write("errors.log", head + "\n39000.5|last\n");
    std::string text = readErrorsLog(path);
    EXPECT_EQ(text, "39000.5|last\n");
    EXPECT_EQ(readErrorsLog(dir.write("bad.log", "1|\xFF\n")), "1|\xEF\xBF\xBD\n");
    EXPECT_EQ(errorOf([&] { readErrorsLog(dir.file("missing.log")); }),
              "Cannot open \"" + dir.file("missing.log") + "\": " + systemErrorText(ENOENT))
        << "read through the C library";
}

} // namespace
} // namespace pln::test
