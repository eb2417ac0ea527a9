#include "common/missing_value.h"
#include "logstore/core/ini_tree.h"
#include "logstore/core/log_dialog_rules.h"
#include "support/temp_dir.h"

#include <cmath>
#include <gtest/gtest.h>

namespace pln {
namespace {

TEST(LogDialogRules, NumericIniValues) {
    for (const char* text : {"0", "-3.5", "+12", "1e5", "2.5E-3", "123456789012345678901234"})
        EXPECT_TRUE(isNumericIniValue(text)) << text;
    for (const char* text : {"", "12abc", "abc", "1.2.3", "0x10", "1e", "-", "1 2", "true"})
        EXPECT_FALSE(isNumericIniValue(text)) << text;
}

TEST(LogDialogRules, FileNamesEveryFileSystemHolds) {
    for (const char* name : {"virtual;CON.pln_on", "virtual;a b.pln_off", "CONSOLE.txt", "COM0",
                             "statistics.ini-statistics,ConnRunTime.pln_on"})
        EXPECT_TRUE(isPortableFileName(name)) << name;
    for (const char* name : {"", "CON", "nul.pln_on", "com1", "LPT9.txt", "AUX .x", "a.", "a ",
                             "a:b", "a?b", "a|b", "a\tb", "a/b"})
        EXPECT_FALSE(isPortableFileName(name)) << name;
    EXPECT_TRUE(isPortableFileName(std::string(255, 'x')));
    EXPECT_FALSE(isPortableFileName(std::string(256, 'x')));
}

TEST(LogDialogRules, VirtualTitles) {
    EXPECT_TRUE(isValidVirtualTitle("Average uploaded per session"));
    EXPECT_TRUE(isValidVirtualTitle("CON"));
    for (const char* title :
         {"", "a/b", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "line\nbreak"})
        EXPECT_FALSE(isValidVirtualTitle(title)) << title;
    // The name "virtual;" + title + ".pln_off" must fit in 255 bytes.
    EXPECT_TRUE(isValidVirtualTitle(std::string(239, 't')));
    EXPECT_FALSE(isValidVirtualTitle(std::string(240, 't')));
}

TEST(LogDialogRules, NameOfAnIniValueLog) {
    EXPECT_EQ(keyOfCaption("  ConnRunTime = 12.5"), "ConnRunTime");
    EXPECT_EQ(keyOfCaption("Key"), "Key");
    EXPECT_EQ(iniLogNameFor("statistics.ini", "statistics", "ConnRunTime"),
              "statistics.ini-statistics,ConnRunTime");
    EXPECT_EQ(iniLogNameFor("preferences.ini", "eMule", "Max-Up,load"),
              "preferences.ini-eMule,Max-Up,load");
    // Names that would not split back into the same parts, or cannot be files.
    EXPECT_FALSE(iniLogNameFor("my-prefs.ini", "eMule", "Port"));
    EXPECT_FALSE(iniLogNameFor("a,b.ini", "eMule", "Port"));
    EXPECT_FALSE(iniLogNameFor("prefs.ini", "Web,Server", "Port"));
    EXPECT_FALSE(iniLogNameFor("prefs.ini", "eMule", "Dir/Name"));
}

TEST(LogDialogRules, CombineEntries) {
    test::TempDir logs;
    logs.write("virtual;Taken.pln_off", "x");
    auto valid = [&](tCombineEntries e, char point = '.', const std::string& edited = "") {
        return combineEntriesValid(e, point, logs.path(), edited);
    };
    EXPECT_TRUE(valid({"Per session", "1/1", false, ""}));
    EXPECT_FALSE(valid({"Per session", "3/0", false, ""}));
    EXPECT_FALSE(valid({"taken", "1/1", false, ""}));
    EXPECT_TRUE(valid({"taken", "1/1", false, ""}, '.', "virtual;Taken"));
    EXPECT_FALSE(valid({"taken", "1/1", false, ""}, '.', "virtual;Other"));
    EXPECT_FALSE(valid({"Per session", "1/1", true, ""}));
    EXPECT_TRUE(valid({"Per session", "1/1", true, "12,5"}, ','));
    EXPECT_FALSE(valid({"Per session", "1/1", true, "12,5"}));
    EXPECT_TRUE(std::isnan(*maxValueOf(false, "12", '.')));
    EXPECT_EQ(editedMaxValue(true, "5", "1.23457e+06", 1234567, '.'), 5);
    EXPECT_FALSE(editedMaxValue(true, "inf", "inf", HUGE_VAL, '.'));
}

} // namespace
} // namespace pln
