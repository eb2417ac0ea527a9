#include "common/error.h"
#include "crash_prelude.h"
#include "platform/fake_platform.h"
#include "platform/locked_file.h"
#include "platform/posix/posix_ini_profile.h"
#include "platform/posix/posix_message_bus.h"
#include "recorder/recorder.h"

#include <algorithm>
#include <stop_token>

namespace pln::test {
namespace {

using namespace std::chrono_literals;

constexpr auto loadTime = 16s / slowdown;
// With the profile's own logs of file A, the uploaded bytes and ConnRunTime:
// 200 recorded logs.
constexpr std::uint32_t moreKnownFiles = 178;
constexpr int statsKeys = 19;
// eMule's saves, 2 seconds apart on the recorder's clock, so that every
// sample has a stamp of its own; the sample's number is the counters' value.
constexpr std::int64_t firstSaveMs = 1'780'272'000'000; // 2026-06-01
constexpr std::int64_t saveSpacingMs = 2000;

// eMule and the recorder on one thread: eMule saves known.met and
// statistics.ini every few milliseconds, every counter holding the number of
// the save, and the recorder answers its messages and samples each save.
class EmuleAndRecorder {
public:
    explicit EmuleAndRecorder(const RecorderProfile& profile)
        : profile_(profile), bus_(messageBusFolder(profile.locations.messagePrefix)),
          recorder_({profile.locations, files_, ini_, clock_, mutexes_, bus_}) {
        mutexes_.heldElsewhere.insert(viewerMutexName(profile.locations));
    }

    void run(const std::stop_token& stop) {
        pollfd watched{bus_.descriptor(), POLLIN, 0};
        for (std::uint32_t save = 1; !stop.stop_requested(); ++save) {
            answerMessages();
            emuleSaves(save);
            recorder_.tick();
            ::poll(&watched, 1, 2);
        }
        // Records that waited for a log the viewer held open go now.
        answerMessages();
        recorder_.tick();
    }
    std::size_t appended() const { return recorder_.appendedRecords(); }

private:
    void answerMessages() {
        for (const BusMessage& message : bus_.receive())
            recorder_.handle(message);
    }
    void emuleSaves(std::uint32_t save) {
        std::vector<KnownFile> files{{"a.avi", hashA, save, save, save, 1000}};
        for (std::uint32_t i = 0; i < moreKnownFiles; ++i)
            files.push_back({hashText(i), hashText(i), save, save, save, 1000});
        std::string path = profile_.dir.write("eMule/config/known.met", knownMetOf(files));
        std::string statistics = "[Statistics]\r\nTotalUploadedBytes=" + std::to_string(save) +
                                 "\r\n" + "ConnRunTime=" + std::to_string(save % 10 * 600) + "\r\n";
        for (int k = 0; k < statsKeys; ++k)
            statistics += "Key" + std::to_string(k) + "=" + std::to_string(save) + "\r\n";
        profile_.dir.write("eMule/config/statistics.ini", statistics);
        const std::int64_t stampMs = firstSaveMs + save * saveSpacingMs;
        std::filesystem::last_write_time(
            path, std::chrono::file_clock::from_sys(std::chrono::sys_days() + stampMs * 1ms));
        clock_.nowMs = stampMs + settleMs + 1;
    }

    const RecorderProfile& profile_;
    PosixFileSystem files_;
    PosixIniProfile ini_;
    FakeClock clock_;
    FakeMutexService mutexes_;
    PosixMessageBus bus_;
    tRecorder recorder_;
};

// The viewer's side of the exchange: a rewrite runs only between the
// recorder's answer and the resume.
class ViewerLink : public tRecorderLink {
public:
    explicit ViewerLink(const RecorderProfile& profile)
        : messages_(registerRecorderMessages(profile.locations.messagePrefix)),
          bus_(messageBusFolder(profile.locations.messagePrefix)) {}

    void broadcastNewLogs() override {}
    // As in the viewer, no suspension is asked for while a task runs: the
    // compression writes the ConnRunTime correction its loading finds.
    void suspend(int taskCode) override {
        if (working)
            return;
        requested.push_back(taskCode);
        bus_.broadcast({messages_.msgSuspend, static_cast<std::uint32_t>(taskCode), 0});
    }
    bool awaitSuspended(int taskCode) {
        return awaitMessage(bus_, messages_.msgSuspended, 10s, taskCode).has_value();
    }
    void resume(int taskCode) {
        bus_.broadcast({messages_.msgResume, static_cast<std::uint32_t>(taskCode), 0});
    }

    std::vector<int> requested;
    bool working = false;

private:
    tRecorderMessages messages_;
    PosixMessageBus bus_;
};

class LoadTest : public ::testing::Test {
protected:
    LoadTest() {
        for (std::uint32_t i = 0; i < moreKnownFiles; ++i)
            profile.writeLog(hashText(i) + ".pln_on", LogBytes::known().bytes());
        for (int k = 0; k < statsKeys; ++k)
            profile.writeLog("statistics.ini-statistics,Key" + std::to_string(k) + ".pln_on",
                             LogBytes::stats(3, 1).bytes());
    }

    // Every recorded log holds the same samples, each once, in order, with
    // the counters of its save; together they hold every record appended.
    std::size_t expectEveryRecordOnceInOrder(std::size_t appended) {
        RecordingPrompter prompter;
        tDetachedRecorderLink detached;
        tLogFiles logs({profile.locations.logsFolder, prompter, detached});
        logs.scanLogs();
        std::vector<dosDateTime> samples;
        std::vector<std::string> wrong;
        std::size_t recorded = 0, total = 0, mismatches = 0;
        for (const auto& log : logs.logs()) {
            if (log->state() == tLogState::inactive)
                continue;
            log->loadValues();
            tLogRecords records = log->values();
            std::vector<dosDateTime> stamps;
            for (std::size_t i = 0; i < records.count(); ++i) {
                stamps.push_back(records.stamp(i));
                std::int64_t save = records.valueType() == valueTypeKnownFile
                                        ? records.knownFileValues(i).requests
                                        : records.integerValue(i);
                CalendarMs saved = unixEpochCalendarMs + firstSaveMs + save * saveSpacingMs;
                mismatches +=
                    !log->isConnRunTimeLog() && calendarToDosDateTime(saved) != stamps.back();
            }
            if (recorded++ == 0)
                samples = stamps;
            if (stamps != samples)
                wrong.push_back(log->name() + " lacks records of others, or holds some twice");
            if (std::adjacent_find(stamps.begin(), stamps.end(), std::greater_equal<>()) !=
                stamps.end())
                wrong.push_back(log->name() + " is out of order");
            total += records.count();
        }
        EXPECT_EQ(prompter.errors(), std::vector<std::string>{});
        EXPECT_EQ(recorded, 200u);
        EXPECT_EQ(wrong, std::vector<std::string>{});
        EXPECT_EQ(mismatches, 0u);
        EXPECT_EQ(total, appended);
        EXPECT_EQ(profile.errorsLog(), "");
        return samples.size();
    }

    ScopedEnv memory{"TMPDIR", memoryTempFolder()};
    RecorderProfile profile;
    ScopedEnv runtimeFolder{"XDG_RUNTIME_DIR", profile.dir.path() + "run"};
};

// Again and again the viewer compresses every log, writes the ConnRunTime
// correction back, reads every log and holds the last one open for short
// whiles, while the recorder samples eMule's saves. Records that waited for a
// held log keep their turn, even once it is free again, and every record
// appended is on disk afterwards, once, in order.
TEST_F(LoadTest, RecordsAppendedWhileTheViewerReadsAndRewritesLogsAreKeptOnceAndInOrder) {
    EmuleAndRecorder recorder(profile);
    ViewerLink link(profile);
    RecordingPrompter prompter;
    tLogFiles logs({profile.locations.logsFolder, prompter, link});
    // Every record is younger than that: compression rewrites each log whole.
    CalendarMs compressNow = unixEpochCalendarMs + firstSaveMs + msPerDay;
    int compressions = 0, writeBacks = 0;
    const std::string lastLog = profile.locations.logsFolder + uploadedFile;
    std::minstd_rand random(std::random_device{}());
    // Short holds, so that a record seldom waits through many ticks.
    std::uniform_int_distribution<int> holding(0, 1000), pause(1000, 5000);
    {
        std::jthread thread([&](std::stop_token stop) { recorder.run(stop); });
        // A machine too busy for a few rewrites of each kind in the time
        // given gets more time, and more again until each kind ran once.
        auto start = std::chrono::steady_clock::now();
        auto longEnough = [&] {
            auto spent = std::chrono::steady_clock::now() - start;
            return spent > loadTime * 8 ||
                   (spent > loadTime * 4 && compressions >= 1 && writeBacks >= 1) ||
                   (spent > loadTime && compressions >= 3 && writeBacks >= 3);
        };
        auto askForATask = [&] {
            if (compressions <= writeBacks) {
                link.suspend(compressTask);
            } else if (tLogFile* runTime = logs.connRunTimeLog()) {
                // ConnRunTime drops every 10 saves: loading it asks for the write-back.
                runTime->loadValues();
                runTime->freeValues();
                requestConnRunTimeWriteBack(logs);
            }
        };
        while (!longEnough() && !HasFailure()) {
            logs.scanLogs();
            // A drawing that loaded ConnRunTime may have asked for its
            // write-back already: the viewer runs it before another task.
            if (link.requested.empty())
                askForATask();
            if (link.requested.empty())
                continue;
            int task = link.requested.front();
            link.requested.clear();
            ASSERT_TRUE(link.awaitSuspended(task)) << "task " << task;
            // Reading a log the recorder was appending to may have failed;
            // nothing may fail from here on.
            prompter.shown.clear();
            link.working = true;
            if (task == compressTask) {
                EXPECT_EQ(compressLogs(logs, 30, compressNow).failures, std::vector<std::string>{});
                ++compressions;
            } else if (writeBackConnRunTime(logs)) {
                ++writeBacks;
            }
            link.working = false;
            link.resume(task);
            EXPECT_EQ(prompter.errors(), std::vector<std::string>{});
            // Between the rewrites the viewer draws, reading logs being appended to.
            for (const auto& log : logs.logs()) {
                log->loadValues();
                log->freeValues();
            }
            requestConnRunTimeWriteBack(logs);
            for (int hold = 0; hold < 20; ++hold) {
                try {
                    LockedFile file(lastLog, LockedFile::Access::Read);
                    std::this_thread::sleep_for(std::chrono::microseconds(holding(random)));
                } catch (const Error&) {
                    // The recorder is appending just now.
                }
                std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
            }
        }
        // The viewer ends: a suspension the last drawing asked for is let go.
        for (int task : link.requested)
            link.resume(task);
    }

    std::size_t samples = expectEveryRecordOnceInOrder(recorder.appended());
    EXPECT_GE(compressions, 1);
    EXPECT_GE(writeBacks, 1);
    std::cout << "samples: " << samples << ", records appended: " << recorder.appended()
              << ", compressions: " << compressions << ", ConnRunTime write-backs: " << writeBacks
              << '\n';
}

} // namespace
} // namespace pln::test
