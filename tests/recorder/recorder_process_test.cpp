#include "app/core/recorder_messages.h"
#include "app/core/startup.h"
#include "logstore/core/compress.h"
#include "logstore/core/log_files.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_message_bus.h"
#include "platform/posix/posix_mutex_service.h"
#include "recorder_profile.h"
#include "support/recording_prompter.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace pln {
namespace {

using namespace std::chrono_literals;
using test::RecorderProfile;

// The real recorder on a profile of the test's, with the test playing the
// viewer's part on the same bus.
class RecorderProcessTest : public ::testing::Test {
protected:
    RecorderProcessTest() {
        ::setenv("XDG_DATA_HOME", profile.root.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (profile.dir.path() + "run").c_str(), 1);
        bus = std::make_unique<PosixMessageBus>(messageBusFolder(profile.locations.messagePrefix));
    }
    ~RecorderProcessTest() override {
        for (pid_t pid : started) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }

    pid_t startRecorder(std::vector<std::string> args = {}) {
        std::vector<char*> argv{const_cast<char*>(PLN_RECORDER)};
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        EXPECT_EQ(::posix_spawn(&pid, PLN_RECORDER, nullptr, nullptr, argv.data(), environ), 0);
        started.push_back(pid);
        return pid;
    }
    // Exit status, or -1 when the process still runs after the time given.
    int exitStatus(pid_t pid, std::chrono::milliseconds patience) {
        for (auto end = std::chrono::steady_clock::now() + patience;
             std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(20ms)) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                std::erase(started, pid);
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
        }
        return -1;
    }
    std::optional<BusMessage> awaitMessage(const std::string& name,
                                           std::chrono::milliseconds patience) {
        pollfd watched{bus->descriptor(), POLLIN, 0};
        for (auto end = std::chrono::steady_clock::now() + patience;
             std::chrono::steady_clock::now() < end;) {
            ::poll(&watched, 1, 50);
            for (const BusMessage& message : bus->receive())
                if (message.name == name)
                    return message;
        }
        return std::nullopt;
    }
    bool suspend(std::uint32_t task) {
        bus->broadcast({messages.msgSuspend, task, 0});
        auto answer = awaitMessage(messages.msgSuspended, 300ms);
        return answer && answer->word == task;
    }
    // The recorder answers once its socket is bound.
    void awaitRecorder() {
        for (int i = 0; i < 50; ++i) {
            if (suspend(9)) {
                bus->broadcast({messages.msgResume, 9, 0});
                return;
            }
        }
        FAIL() << "the recorder does not answer";
    }
    bool waitForRecords(const std::string& file, std::size_t size, std::size_t count) {
        for (int i = 0; i < 100 && profile.records(file, size) < count; ++i)
            std::this_thread::sleep_for(50ms);
        return profile.records(file, size) == count;
    }

    RecorderProfile profile;
    tRecorderMessages messages = registerRecorderMessages(profile.locations.messagePrefix);
    std::unique_ptr<PosixMessageBus> bus;
    std::vector<pid_t> started;
    std::string logA = std::string(test::hashA) + ".pln_on";
};

TEST_F(RecorderProcessTest, RecordsEachSaveNothingWhileTheViewerRewritesLogsAndEndsWhenAsked) {
    pid_t recorder = startRecorder();
    awaitRecorder();
    EXPECT_EQ(exitStatus(startRecorder(), 5s), 0) << "a second recorder ends at once";

    profile.writeKnownMet(6, 3, 700, 10);
    ASSERT_TRUE(waitForRecords(logA, 20, 1));
    ASSERT_TRUE(waitForRecords(test::connRunTimeFile, 8, 1));

    ASSERT_TRUE(suspend(0));
    profile.writeKnownMet(7, 3, 800, 8);
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(profile.records(logA, 20), 1u) << "nothing is appended while suspended";
    test::RecordingPrompter prompter;
    tDetachedRecorderLink detached;
    tLogFiles logs({profile.locations.logsFolder, prompter, detached});
    logs.scanLogs();
    auto summary = compressLogs(logs, 30, PosixClock().nowLocal());
    EXPECT_EQ(summary.recordsBefore, summary.recordsAfter);
    EXPECT_EQ(prompter.shown.size(), 0u);
    bus->broadcast({messages.msgResume, 0, 0});

    ASSERT_TRUE(waitForRecords(logA, 20, 2)) << "the save made meanwhile is recorded at the resume";
    EXPECT_TRUE(waitForRecords(test::connRunTimeFile, 8, 2));
    EXPECT_EQ(profile.records(test::uploadedFile, 12), 2u);
    EXPECT_EQ(profile.logBytes(logA)[25 + 4], 7) << "the second record holds the second save";

    ::kill(recorder, SIGTERM);
    EXPECT_EQ(exitStatus(recorder, 3s), 0);
    PosixMutexService mutexes;
    EXPECT_FALSE(mutexes.isHeld(recorderMutexName(profile.locations)));

    recorder = startRecorder();
    awaitRecorder();
    EXPECT_EQ(exitStatus(startRecorder({"--stop"}), 5s), 0);
    EXPECT_EQ(exitStatus(recorder, 3s), 0);

    recorder = startRecorder();
    awaitRecorder();
    EXPECT_EQ(exitStatus(startRecorder({"--close-viewer"}), 5s), 0);
    EXPECT_TRUE(awaitMessage(messages.msgClose, 2s));
    EXPECT_EQ(exitStatus(recorder, 3s), 0);
    EXPECT_EQ(exitStatus(startRecorder({"--other"}), 5s), 2);
}

} // namespace
} // namespace pln
