#include "app/core/errors_log.h"
#include "common/error.h"
#include "common/file_io.h"
#include "logstore/core/dos_date_time.h"
#include "platform/fake_message_bus.h"
#include "platform/fake_platform.h"
#include "platform/locked_file.h"
#include "platform/platform.h"
#include "recorder/log_appender.h"
#include "recorder/log_values.h"
#include "recorder/recorder.h"
#include "recorder_profile.h"
#include "support/error_text.h"

#include <cerrno>
#include <gmock/gmock.h>

namespace pln::test {
namespace {

using namespace std::string_literals;
using testing::ElementsAre;
using testing::HasSubstr;

// A recorder in this process: real files, a bus and a clock of the test's.
class RecorderTest : public ::testing::Test {
protected:
    RecorderTest()
        : messages(registerRecorderMessages(profile.locations.messagePrefix)),
          recorder({profile.locations, files, ini, clock, mutexes, bus}) {
        mutexes.heldElsewhere.insert(viewerMutexName(profile.locations));
    }

    // eMule saves known.met; the clock moves past the settling time.
    void save(std::uint32_t requests, int age) {
        profile.writeKnownMet(requests, age);
        clock.nowMs = *files.modificationStamp(profile.locations.eMuleConfigFolder + "known.met") +
                      settleMs + 1;
    }
    void send(const std::string& name, std::uint32_t word) { recorder.handle({name, word, 0}); }
    // One turn of the recorder's loop; the records it appended so far.
    std::size_t tick() {
        recorder.tick();
        return recorder.appendedRecords();
    }
    // The date of the save of known.met now on disk.
    dosDateTime savedDate() {
        return calendarToDosDateTime(clock.toLocalCalendar(
            *files.modificationStamp(profile.locations.eMuleConfigFolder + "known.met")));
    }
    // File A's log, and the same holding one record of the save on disk.
    std::vector<std::uint8_t> logA() const { return profile.logBytes(hashA + ".pln_on"s); }
    std::vector<std::uint8_t> knownLogOf(std::uint32_t requests) {
        return LogBytes::known().knownFileRecord(savedDate(), requests, 3, 700).bytes();
    }

    RecorderProfile profile;
    NativePlatform native;
    FileSystem& files = native.services().files;
    IniProfile& ini = native.services().ini;
    FakeClock clock;
    FakeMutexService mutexes;
    FakeMessageBus bus;
    tRecorderMessages messages;
    tRecorder recorder;
};

TEST_F(RecorderTest, EachSettledSaveAppendsOneRecordToEveryRecordedLog) {
    EXPECT_EQ(tick(), 0u) << "the save before the start is not sampled";

    save(5, 55);
    clock.nowMs -= settleMs; // saved a moment ago: eMule may still be writing
    EXPECT_EQ(tick(), 0u);
    clock.nowMs += settleMs;
    recorder.tick();
    EXPECT_EQ(tick(), 3u);

    EXPECT_EQ(logA(), knownLogOf(5));
    EXPECT_EQ(profile.logBytes(hashB + ".pln_off"s), LogBytes::known().bytes());
    EXPECT_EQ(profile.logBytes(connRunTimeFile),
              LogBytes::stats(3, 1, 24, "Hours / day").int32Record(savedDate(), 1000).bytes());
    EXPECT_EQ(profile.logBytes(uploadedFile), LogBytes::stats(4, 1, 1.0 / 1024, "kBytes / sec")
                                                  .int64Record(savedDate(), 123456789)
                                                  .bytes());
}

TEST_F(RecorderTest, SuspensionsAreCountedPerTaskCode) {
    send(messages.msgSuspend, 0);
    send(messages.msgSuspend, 1);
    EXPECT_EQ(bus.sent, (std::vector<BusMessage>{{messages.msgSuspended, 0, 0},
                                                 {messages.msgSuspended, 1, 0}}));

    save(6, 50);
    recorder.tick();
    send(messages.msgResume, 0);
    send(messages.msgResume, 7); // holds nothing
    EXPECT_EQ(tick(), 0u) << "task 1 still holds the recorder";
    EXPECT_TRUE(recorder.suspended());

    clock.nowMs += 3'600'000;
    send(messages.msgResume, 1);
    EXPECT_EQ(tick(), 3u) << "the save made meanwhile is sampled at the resume";
    EXPECT_EQ(logA(), knownLogOf(6)) << "dated with the save, an hour before the resume";
}

TEST_F(RecorderTest, ASuspensionOutlivingItsViewerIsReleased) {
    save(6, 40);
    {
        // The viewer reads a log as it ends: its record waits, past the suspension.
        LockedFile drawing(profile.locations.logsFolder + hashA + ".pln_on",
                           LockedFile::Access::Read);
        recorder.tick();
        send(messages.msgSuspend, 0);
        clock.nowMs += suspensionCheckMs;
        recorder.tick();
        EXPECT_TRUE(recorder.suspended()) << "the viewer still runs";

        mutexes.heldElsewhere.clear();
        recorder.tick();
        EXPECT_FALSE(recorder.suspended());
        EXPECT_TRUE(mutexes.heldHere.empty()) << "the viewer's mark is not kept";
        EXPECT_NE(profile.errorsLog().find(viewerGoneMessage), std::string::npos);
        recorder.tick();
    }
    EXPECT_EQ(tick(), 3u);
    EXPECT_EQ(logA(), knownLogOf(6)) << "its patience counts from the end of the suspension";
}

// Records that find their log held by the viewer wait, and reach it once it
// is free in the order of their saves.
TEST_F(RecorderTest, RecordsWaitingForALogTheViewerReadsKeepTheirOrder) {
    LogBytes expected = LogBytes::known();
    {
        LockedFile drawing(profile.locations.logsFolder + hashA + ".pln_on"s,
                           LockedFile::Access::Read);
        save(6, 40);
        expected.knownFileRecord(savedDate(), 6, 3, 700);
        recorder.tick();
        save(7, 20);
        expected.knownFileRecord(savedDate(), 7, 3, 700);
        recorder.tick();
        EXPECT_EQ(logA(), LogBytes::known().bytes());
    }
    recorder.tick();
    EXPECT_EQ(logA(), expected.bytes());
}

TEST_F(RecorderTest, NewLogsGetTheirFirstValueAtOnce) {
    const LogBytes maxUpload = LogBytes::stats(3, 2, 1, "kBytes / sec");
    profile.writeLog("preferences.ini-eMule,MaxUpload.pln_on", maxUpload.bytes());
    save(5, 1);
    clock.nowMs -= settleMs; // a save not settled yet: its values are read all the same
    send(messages.msgNewLogs, 0);
    EXPECT_EQ(tick(), 4u) << "A's log, ConnRunTime, uploaded bytes and MaxUpload were empty";
    EXPECT_EQ(profile.logBytes("preferences.ini-eMule,MaxUpload.pln_on"),
              LogBytes(maxUpload).int32Record(savedDate(), 40).bytes());

    const LogBytes queued = LogBytes().prefix(2).header(3, 0, 1, "");
    profile.writeLog("Queued clients.pln_on", queued.bytes());
    profile.dir.write("eMule/onlinesig.dat", "1|server|x|17\r\n");
    send(messages.msgNewLogs, 0);
    EXPECT_EQ(tick(), 4u) << "eMule's online signature is off";
    profile.writeConfig("preferences.ini", "[eMule]\r\nMaxUpload=40\r\nOnlineSignature=1\r\n");
    send(messages.msgNewLogs, 0);
    EXPECT_EQ(tick(), 5u) << "only the new log";
    EXPECT_EQ(profile.logBytes("Queued clients.pln_on"),
              LogBytes(queued).int32Record(savedDate(), 17).bytes());

    clock.nowMs += 2 * settleMs;
    EXPECT_EQ(tick(), 5u) << "the save sampled already gives no second record";
}

TEST_F(RecorderTest, BadValuesAreWrittenToTheErrorsLogOnceUntilViewed) {
    profile.writeConfig("statistics.ini", "[Statistics]\r\nConnRunTime=99999999999\r\n");
    save(6, 30);
    EXPECT_EQ(tick(), 1u) << "only file A's log";
    save(7, 20);
    recorder.tick();
    EXPECT_TRUE(recorder.errors().pending());

    EXPECT_THAT(errorsLogDisplayLines(profile.errorsLog(), formatErrorsLogTime),
                ElementsAre(HasSubstr("   Invalid value \"99999999999\" for the "
                                      "\"statistics.ini-statistics,ConnRunTime\" log"),
                            HasSubstr("   Cannot read the value of the "
                                      "\"statistics.ini-statistics,TotalUploadedBytes\" log")));

    send(messages.msgErrorsViewed, 0);
    EXPECT_FALSE(recorder.errors().pending());
    save(8, 10);
    recorder.tick();
    EXPECT_EQ(errorsLogDisplayLines(profile.errorsLog(), formatErrorsLogTime).size(), 4u);
}

// A record goes after the last whole record, over a partial one; a file that
// does not match the record, or that the viewer reads, is left as it is.
TEST(LogAppenderTest, AppendsAfterTheLastWholeRecordOrRefusesTheFile) {
    TempDir dir;
    const auto record = *statsRecord(0x55000000, 3, "-2");
    auto appendError = [&](const std::string& file) {
        return errorOf([&] { appendRecord(dir.path(), file, tLogKind::iniValue, 3, record); });
    };
    dir.write("a.ini-s,k.pln_on", LogBytes::stats().int32Record(1, 7).raw("xyz").bytes());
    appendRecord(dir.path(), "a.ini-s,k.pln_on", tLogKind::iniValue, 3, record);
    EXPECT_EQ(readBytes(dir.file("a.ini-s,k.pln_on")),
              LogBytes::stats().int32Record(1, 7).int32Record(0x55000000, -2).bytes())
        << "the partial record is overwritten";

    dir.write("bad.ini-s,k.pln", LogBytes().prefix(1, "PLN", 1).header(3, 0, 1, "").bytes());
    dir.write("type.ini-s,k.pln", LogBytes::stats(4).bytes());
    dir.write("short.ini-s,k.pln", LogBytes().prefix(1).raw("abc").bytes());
    for (const char* file : {"bad.ini-s,k.pln", "type.ini-s,k.pln", "short.ini-s,k.pln"})
        EXPECT_EQ(appendError(file), std::string("Invalid log file: \"") + file + "\"");
    EXPECT_EQ(readBytes(dir.file("type.ini-s,k.pln")).size(), 79u) << "nothing was written";
    EXPECT_EQ(appendError("missing.ini-s,k.pln"), missingFileText());
    LockedFile reader(dir.write("held.ini-s,k.pln", LogBytes::stats().bytes()),
                      LockedFile::Access::Read);
    EXPECT_EQ(appendError("held.ini-s,k.pln"), fileInUseText);
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

TEST(ErrorsLogTest, TimesAreDaysWithPointDecimalsAndAHugeFileIsReadFromItsTail) {
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
    EXPECT_EQ(errorsLogDisplayLines("39000.5|Saved\r\nno bar\n|no time\nnow|kept\n39000.25|a|b\n",
                                    formatIsoDateTime),
              (std::vector<std::string>{"2006-10-10T12:00:00   Saved", "now|kept",
                                        "2006-10-10T06:00:00   a|b"}));

    TempDir dir;
    std::string head(errorsLogReadLimit, 'x');
    EXPECT_EQ(readErrorsLog(dir.write("errors.log", head + "\n39000.5|last\n")), "39000.5|last\n");
    EXPECT_EQ(readErrorsLog(dir.write("bad.log", "1|\xFF\n")), "1|\xEF\xBF\xBD\n");
    EXPECT_EQ(errorOf([&] { readErrorsLog(dir.file("missing.log")); }),
              "Cannot open \"" + dir.file("missing.log") + "\": " + systemErrorText(ENOENT))
        << "read through the C library";
}

} // namespace
} // namespace pln::test
