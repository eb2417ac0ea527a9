#include "app/core/errors_log.h"
#include "app/core/recorder_messages.h"
#include "app/core/startup.h"
#include "logstore/core/dos_date_time.h"
#include "platform/fake_message_bus.h"
#include "platform/fake_platform.h"
#include "platform/locked_file.h"
#include "platform/platform.h"
#include "recorder/recorder.h"
#include "recorder_profile.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

using test::LogBytes;
using test::RecorderProfile;
using namespace std::string_literals;

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
        profile.writeKnownMet(requests, 3, 700, age);
        clock.nowMs = *files.modificationStamp(profile.locations.eMuleConfigFolder + "known.met") +
                      settleMs + 1;
    }
    void send(const std::string& name, std::uint32_t word) { recorder.handle({name, word, 0}); }
    // The date of the save of known.met now on disk.
    dosDateTime savedDate() {
        return calendarToDosDateTime(clock.toLocalCalendar(
            *files.modificationStamp(profile.locations.eMuleConfigFolder + "known.met")));
    }
    // File A's log, and the same holding one record of the save on disk.
    std::vector<std::uint8_t> logA() const { return profile.logBytes(test::hashA + ".pln_on"s); }
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
    recorder.tick();
    EXPECT_EQ(recorder.appendedRecords(), 0u) << "the save before the start is not sampled";

    save(5, 55);
    clock.nowMs -= settleMs; // saved a moment ago: eMule may still be writing
    recorder.tick();
    EXPECT_EQ(recorder.appendedRecords(), 0u);
    clock.nowMs += settleMs;
    recorder.tick();
    recorder.tick();
    EXPECT_EQ(recorder.appendedRecords(), 3u);

    EXPECT_EQ(logA(), knownLogOf(5));
    EXPECT_EQ(profile.logBytes(test::hashB + ".pln_off"s), LogBytes::known().bytes());
    EXPECT_EQ(profile.logBytes(test::connRunTimeFile),
              LogBytes::stats(3, 1, 24, "Hours / day").int32Record(savedDate(), 1000).bytes());
    EXPECT_EQ(profile.logBytes(test::uploadedFile),
              LogBytes::stats(4, 1, 1.0 / 1024, "kBytes / sec")
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
    recorder.tick();
    EXPECT_EQ(recorder.appendedRecords(), 0u) << "task 1 still holds the recorder";
    EXPECT_TRUE(recorder.suspended());

    clock.nowMs += 3'600'000;
    send(messages.msgResume, 1);
    recorder.tick();
    EXPECT_EQ(recorder.appendedRecords(), 3u) << "the save made meanwhile is sampled at the resume";
    EXPECT_EQ(logA(), knownLogOf(6)) << "dated with the save, an hour before the resume";
}

TEST_F(RecorderTest, ASuspensionOutlivingItsViewerIsReleased) {
    save(6, 40);
    {
        // The viewer reads a log as it ends: its record waits, past the suspension.
        LockedFile drawing(profile.locations.logsFolder + test::hashA + ".pln_on",
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
    recorder.tick();
    EXPECT_EQ(logA(), knownLogOf(6)) << "its patience counts from the end of the suspension";
    EXPECT_EQ(recorder.appendedRecords(), 3u);
}

// Records that find their log held by the viewer wait, and reach it once it
// is free in the order of their saves.
TEST_F(RecorderTest, RecordsWaitingForALogTheViewerReadsKeepTheirOrder) {
    LogBytes expected = LogBytes::known();
    {
        LockedFile drawing(profile.locations.logsFolder + test::hashA + ".pln_on"s,
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
    recorder.tick();
    EXPECT_EQ(profile.logBytes("preferences.ini-eMule,MaxUpload.pln_on"),
              LogBytes(maxUpload).int32Record(savedDate(), 40).bytes());
    EXPECT_EQ(recorder.appendedRecords(), 4u)
        << "A's log, ConnRunTime, uploaded bytes and MaxUpload were empty";

    const LogBytes queued = LogBytes().prefix(2).header(3, 0, 1, "");
    profile.writeLog("Queued clients.pln_on", queued.bytes());
    RecorderProfile::writeText(profile.locations.eMuleConfigBase + "onlinesig.dat",
                               "1|server|x|17\r\n");
    send(messages.msgNewLogs, 0);
    recorder.tick();
    EXPECT_EQ(recorder.appendedRecords(), 4u) << "eMule's online signature is off";
    RecorderProfile::writeText(profile.locations.eMuleConfigFolder + "preferences.ini",
                               "[eMule]\r\nMaxUpload=40\r\nOnlineSignature=1\r\n");
    send(messages.msgNewLogs, 0);
    recorder.tick();
    EXPECT_EQ(recorder.appendedRecords(), 5u) << "only the new log";
    EXPECT_EQ(profile.logBytes("Queued clients.pln_on"),
              LogBytes(queued).int32Record(savedDate(), 17).bytes());

    clock.nowMs += 2 * settleMs;
    recorder.tick();
    EXPECT_EQ(recorder.appendedRecords(), 5u) << "the save sampled already gives no second record";
}

TEST_F(RecorderTest, BadValuesAreWrittenToTheErrorsLogOnceUntilViewed) {
    profile.writeStatistics(1000, 123456789);
    RecorderProfile::writeText(profile.locations.eMuleConfigFolder + "statistics.ini",
                               "[Statistics]\r\nConnRunTime=99999999999\r\n");
    save(6, 30);
    recorder.tick();
    EXPECT_EQ(recorder.appendedRecords(), 1u) << "only file A's log";
    save(7, 20);
    recorder.tick();
    EXPECT_TRUE(recorder.errors().pending());

    std::vector<std::string> lines =
        errorsLogDisplayLines(profile.errorsLog(), formatErrorsLogTime);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("   Invalid value \"99999999999\" for the "
                            "\"statistics.ini-statistics,ConnRunTime\" log"),
              std::string::npos);
    EXPECT_NE(lines[1].find("   Cannot read the value of the "
                            "\"statistics.ini-statistics,TotalUploadedBytes\" log"),
              std::string::npos);

    send(messages.msgErrorsViewed, 0);
    EXPECT_FALSE(recorder.errors().pending());
    save(8, 10);
    recorder.tick();
    EXPECT_EQ(errorsLogDisplayLines(profile.errorsLog(), formatErrorsLogTime).size(), 4u);
}

} // namespace
} // namespace pln
