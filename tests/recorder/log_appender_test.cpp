#include "common/error.h"
#include "logstore/log_fixture.h"
#include "platform/locked_file.h"
#include "recorder/log_appender.h"
#include "recorder/log_values.h"
#include "support/error_text.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

using test::LogBytes;

std::string appendError(const test::TempDir& dir, const std::string& file, tLogKind kind,
                        std::uint8_t valueType, const std::vector<std::uint8_t>& record) {
    return test::errorOf([&] { appendRecord(dir.path(), file, kind, valueType, record); });
}

// A record goes after the last whole record, over a partial one; a file that
// does not match the record, or that the viewer reads, is left as it is.
TEST(LogAppenderTest, AppendsAfterTheLastWholeRecordOrRefusesTheFile) {
    test::TempDir dir;
    dir.write("a.ini-s,k.pln_on", LogBytes::stats().int32Record(1, 7).raw("xyz").bytes());
    auto record = *statsRecord(0x55000000, 3, "-2");
    appendRecord(dir.path(), "a.ini-s,k.pln_on", tLogKind::iniValue, 3, record);
    EXPECT_EQ(test::readBytes(dir.file("a.ini-s,k.pln_on")),
              LogBytes::stats().int32Record(1, 7).int32Record(0x55000000, -2).bytes())
        << "the partial record is overwritten";

    dir.write("bad.ini-s,k.pln", LogBytes().prefix(1, "PLN", 1).header(3, 0, 1, "").bytes());
    dir.write("type.ini-s,k.pln", LogBytes::stats(4).bytes());
    dir.write("short.ini-s,k.pln", LogBytes().prefix(1).raw("abc").bytes());
    for (const char* file : {"bad.ini-s,k.pln", "type.ini-s,k.pln", "short.ini-s,k.pln"})
        EXPECT_EQ(appendError(dir, file, tLogKind::iniValue, 3, record),
                  std::string("Invalid log file: \"") + file + "\"");
    EXPECT_EQ(test::readBytes(dir.file("type.ini-s,k.pln")).size(), 79u) << "nothing was written";
    EXPECT_EQ(appendError(dir, "missing.ini-s,k.pln", tLogKind::iniValue, 3, record),
              test::missingFileText());
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

} // namespace
} // namespace pln
