#include "log_fixture.h"
#include "logstore/core/ini_tree.h"
#include "logstore/core/log_dialog_rules.h"
#include "logstore/core/log_names.h"
#include "logstore/core/multiplier.h"
#include "logstore/core/online_signature.h"
#include "platform/posix/posix_ini_profile.h"

namespace pln::test {
namespace {

std::string unitsBytes(std::string_view units) {
    auto field = encodeUnits(units);
    return {field.begin(), field.end()};
}

TEST(LogNames, KindStatePartsUnitsAndTheQueuedClientsText) {
    EXPECT_EQ(kindOf("queued CLIENTS"), tLogKind::queuedClients);
    EXPECT_EQ(kindOf("VIRTUAL;a.b"), tLogKind::virtualLog) << "virtual before the dot rule";
    EXPECT_EQ(kindOf("statistics.ini-statistics,ConnRunTime"), tLogKind::iniValue);
    EXPECT_EQ(kindOf("0123456789ABCDEF0123456789ABCDEF"), tLogKind::knownFile);
    EXPECT_EQ(kindOf("virtual"), tLogKind::knownFile);
    EXPECT_EQ(stateOfExtension(".PLN_ON"), tLogState::active);
    EXPECT_EQ(stateOfExtension(".pln_of"), std::nullopt);
    // An ini value's log name splits at its first "-" and its first ","; other
    // names have no such parts.
    EXPECT_EQ(displayNameOf("0123456789ABCDEF0123456789ABCDEF"), "");
    EXPECT_EQ(iniKeyOf("a.ini-s,k,with,commas"), "k,with,commas");
    EXPECT_EQ(iniSectionOf("a.ini-s-t,k"), "s-t");
    EXPECT_EQ(iniFileNameOf("virtual;x-y,z"), "");
    EXPECT_EQ(iniKeyOf("Queued clients"), "");
    EXPECT_EQ(iniFileNameOf("odd.name"), "");
    EXPECT_EQ(iniKeyOf("odd.name"), "");
    // ConnRunTime's log is recognised without regard to case.
    EXPECT_TRUE(isConnRunTimeName("statistics.ini-statistics,connruntime"));
    EXPECT_TRUE(isConnRunTimeName("STATISTICS.INI-Statistics,ConnRunTime"));
    EXPECT_FALSE(isConnRunTimeName("statistics.ini-statistics,ConnRunTimeX"));
    EXPECT_FALSE(isConnRunTimeName("preferences.ini-statistics,ConnRunTime"));

    EXPECT_EQ(unitsBytes(""), char(1) + std::string(63, '\0')) << "length 1 and a zero byte";
    EXPECT_EQ(unitsBytes("kBytes / sec"),
              char(13) + std::string("kBytes / sec") + std::string(51, '\0'));

    const std::string expected = char(63) + std::string(62, 'u') + '\0';
    EXPECT_EQ(unitsBytes(std::string(62, 'u') + 'z'), expected) << "the 63rd gives way to the end";
    EXPECT_EQ(unitsBytes(std::string(200, 'u')), expected);

    // 63 bytes ending in a 2-byte character.
    auto field = encodeUnits(std::string(61, 'a') + "\xC3\xA9");
    EXPECT_EQ(field[0], 62) << "a character is never cut in half";
    EXPECT_EQ(decodeUnits(field), std::string(61, 'a'));

    field = encodeUnits("  hours \t");
    EXPECT_EQ(decodeUnits(field), "hours");
    field.fill('x');
    field[0] = 255;
    EXPECT_EQ(decodeUnits(field), std::string(63, 'x')) << "a hostile length stays in the field";
    field = encodeUnits("");
    field[0] = 3;
    field[1] = '\xB0';
    field[2] = 'C';
    EXPECT_EQ(decodeUnits(field), "\xC2\xB0"
                                  "C")
        << "bytes that are not UTF-8 are Windows-1252";

    // The queued clients: disabled, missing, or the online signature's last field.
    TempDir dir;
    PosixIniProfile ini;
    auto text = [&] { return queuedClientsText(ini, dir.file("config/"), dir.path()); };
    auto preferences = [&](const std::string& value) {
        dir.write("config/preferences.ini", "[eMule]\r\nOnlineSignature=" + value + "\r\n");
    };
    EXPECT_EQ(text(), "[Online signature is currently disabled]");
    preferences("0");
    dir.write("onlinesig.dat", "1|server|1.2.3.4|4661\n10.5|3.2|17");
    EXPECT_EQ(text(), "[Online signature is currently disabled]");
    preferences("yes");
    EXPECT_EQ(text(), "[Online signature is currently disabled]");

    preferences("1");
    EXPECT_EQ(text(), "17");
    dir.write("onlinesig.dat", "0\n");
    EXPECT_EQ(text(), "");
    EXPECT_FALSE(readQueuedClients(ini, dir.file("config/"), dir.path()).value);
    // Only the end of a huge file is read.
    dir.write("onlinesig.dat", std::string(1 << 20, 'x') + "|42\r\n");
    EXPECT_EQ(text(), "42");
    fs::remove(dir.file("onlinesig.dat"));
    EXPECT_EQ(text(), "[File not found]");
    dir.mkdir("onlinesig.dat");
    EXPECT_EQ(text(), "[File not found]");
}

// Numeric values, file names every file system holds, titles, the name of an
// ini value's log, and the entries of a combined log.
TEST(LogDialogRules, MultipliersValuesNamesTitlesAndCombineEntries) {
    for (const char* text : {"0", "-3.5", "+12", "1e5", "2.5E-3", "123456789012345678901234"})
        EXPECT_TRUE(isNumericIniValue(text)) << text;
    for (const char* text : {"", "12abc", "abc", "1.2.3", "0x10", "1e", "-", "1 2", "true"})
        EXPECT_FALSE(isNumericIniValue(text)) << text;
    for (const char* name : {"virtual;CON.pln_on", "virtual;a b.pln_off", "CONSOLE.txt", "COM0",
                             "statistics.ini-statistics,ConnRunTime.pln_on"})
        EXPECT_TRUE(isPortableFileName(name)) << name;
    for (const char* name : {"", "CON", "nul.pln_on", "com1", "LPT9.txt", "AUX .x", "a.", "a ",
                             "a:b", "a?b", "a|b", "a\tb", "a/b"})
        EXPECT_FALSE(isPortableFileName(name)) << name;
    EXPECT_TRUE(isPortableFileName(std::string(255, 'x')));
    EXPECT_FALSE(isPortableFileName(std::string(256, 'x')));
    EXPECT_TRUE(isValidVirtualTitle("Average uploaded per session"));
    EXPECT_TRUE(isValidVirtualTitle("CON"));
    for (const char* title :
         {"", "a/b", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "line\nbreak"})
        EXPECT_FALSE(isValidVirtualTitle(title)) << title;
    // The name "virtual;" + title + ".pln_off" must fit in 255 bytes.
    EXPECT_TRUE(isValidVirtualTitle(std::string(239, 't')));
    EXPECT_FALSE(isValidVirtualTitle(std::string(240, 't')));

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

    TempDir logs;
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

    // Products and quotients are evaluated left to right, with the locale's
    // separator and the dot alike; an edited log keeps its value while the text
    // is as shown, if that value is usable; numbers are formatted and parsed whole.
    const std::tuple<const char*, char, double> texts[] = {
        {"1/1", '.', 1},         {"24 * 3600 / 1024 / 1024", '.', 0.0823974609375},
        {"  1 / 2  ", '.', 0.5}, {"8/4*2", '.', 4},
        {"-2.5e1", '.', -25},    {"+.5", '.', 0.5},
        {"1,5", ',', 1.5},       {"2.5", ',', 2.5},
        {"2,5 * 1.5", ',', 3.75}};
    for (auto [text, point, value] : texts)
        EXPECT_EQ(getMultiplier(text, point), value) << text;
    EXPECT_TRUE(std::isnan(getMultiplier("1,5.5", ',')));
    for (const char* text : {"", "   ", "2*", "/2", "3/0", "0", "0*5", "2**3", "abc", "1.5.2",
                             "inf", "nan", "1e", "12abc", "1e999", "1e200*1e200", "1,5"})
        EXPECT_TRUE(std::isnan(getMultiplier(text))) << text;

    EXPECT_EQ(editedMultiplier("1.23457e+06", "1.23457e+06", 1234567), 1234567);
    EXPECT_EQ(editedMultiplier("2", "1.23457e+06", 1234567), 2);
    for (double stored : {0.0, HUGE_VAL, -HUGE_VAL, std::nan("")})
        EXPECT_TRUE(std::isnan(editedMultiplier("x", "x", stored))) << stored;

    EXPECT_EQ(formatNumber(2.5, ','), "2,5");
    EXPECT_EQ(formatNumber(0.0823974609375), "0.0823975");
    EXPECT_EQ(formatNumber(1e20), "1e+20");
    EXPECT_EQ(parseDecimal("-3.5"), -3.5);
    EXPECT_EQ(parseDecimal("0"), 0.0);
    EXPECT_EQ(parseDecimal("7."), 7.0);
    EXPECT_FALSE(parseDecimal("."));
    EXPECT_FALSE(parseDecimal("1 "));
    EXPECT_FALSE(parseDecimal("0x10"));
}

constexpr CalendarMs at(std::int64_t day, int hour, int minute, int second) {
    return day * msPerDay + ((hour * 60 + minute) * 60 + second) * 1000LL;
}

tInstants instants(std::size_t count) {
    return std::make_shared<const std::vector<std::int64_t>>(count, 0);
}

TEST(DosDateTime, ConvertsPackedFieldsToExactCalendarMillisecondsAndBackAndKeepsInstants) {
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

    // Back from the calendar, truncated to two seconds and clamped to the
    // stamp range; ISO text both ways.
    EXPECT_EQ(calendarToDosDateTime(at(45351, 13, 45, 59) + 999), dos(2024, 2, 29, 13, 45, 58));
    EXPECT_EQ(calendarToDosDateTime(at(45351, 23, 59, 58)), dos(2024, 2, 29, 23, 59, 58));
    for (std::uint32_t stamp : {dos(1980, 1, 1), dos(1999, 12, 31, 23, 59, 58), dos(2044, 1, 1),
                                dos(2107, 12, 31, 23, 59, 58)})
        EXPECT_EQ(calendarToDosDateTime(dosDateTimeToCalendar(stamp)), stamp);
    EXPECT_EQ(calendarToDosDateTime(at(0, 0, 0, 0)), firstDosDateTime);
    EXPECT_EQ(calendarToDosDateTime(at(29220, 23, 59, 59)), firstDosDateTime);
    EXPECT_EQ(calendarToDosDateTime(at(200000, 0, 0, 0)), lastDosDateTime);
    EXPECT_EQ(lastDosDateTime, dos(2107, 12, 31, 23, 59, 58));
    EXPECT_EQ(formatIsoDateTime(at(45351, 13, 45, 58) + 999), "2024-02-29T13:45:58");
    EXPECT_EQ(parseIsoDateTime("2024-02-29T13:45:58"), at(45351, 13, 45, 58));
    EXPECT_EQ(parseIsoDateTime("2024-02-29 13:45"), at(45351, 13, 45, 0));
    for (const char* bad :
         {"2023-02-29T00:00:00", "2024-13-01T00:00", "2024-04-31 00:00", "2024-01-01T24:00",
          "2024-1-01T00:00", "2024-01-01", "2024-01-01T00:00:0x"})
        EXPECT_FALSE(parseIsoDateTime(bad)) << bad;

    // Kept instants: the recently used, within the budget, of that version only.
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
