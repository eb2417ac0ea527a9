#include "platform/posix/posix_message_bus.h"
#include "platform/posix/posix_mutex_service.h"
#include "recorder_profile.h"
#include "support/scoped_env.h"

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace pln::test {
namespace {

using namespace std::chrono_literals;

// The real recorder on a profile of the test's, with the test playing the
// viewer's part on the same bus.
class RecorderProcessTest : public ::testing::Test {
protected:
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
    // The recorder answers a suspension once its socket is bound.
    void awaitRecorder() {
        for (int i = 0; i < 50; ++i) {
            bus.broadcast({messages.msgSuspend, 9, 0});
            if (awaitMessage(bus, messages.msgSuspended, 300ms, 9))
                return bus.broadcast({messages.msgResume, 9, 0});
        }
        FAIL() << "the recorder does not answer";
    }
    RecorderProfile profile;
    ScopedEnv data{"XDG_DATA_HOME", profile.root};
    ScopedEnv runtime{"XDG_RUNTIME_DIR", profile.dir.path() + "run"};
    tRecorderMessages messages = registerRecorderMessages(profile.locations.messagePrefix);
    PosixMessageBus bus{messageBusFolder(profile.locations.messagePrefix)};
    std::vector<pid_t> started;
};

// A signal, --stop and --close-viewer each end the running recorder and free
// its mark; a second recorder of the same profile ends at once.
TEST_F(RecorderProcessTest, OneRecorderPerProfileThatEndsWhenAsked) {
    for (const char* ending : {"SIGTERM", "--stop", "--close-viewer"}) {
        pid_t recorder = startRecorder();
        awaitRecorder();
        EXPECT_EQ(exitStatus(startRecorder(), 5s), 0) << "a second recorder ends at once";
        if (ending[0] == '-')
            EXPECT_EQ(exitStatus(startRecorder({ending}), 5s), 0) << ending;
        else
            ::kill(recorder, SIGTERM);
        EXPECT_EQ(exitStatus(recorder, 3s), 0) << ending;
        EXPECT_FALSE(PosixMutexService().isHeld(recorderMutexName(profile.locations))) << ending;
    }
    EXPECT_TRUE(awaitMessage(bus, messages.msgClose, 2s)) << "--close-viewer closes the viewer too";
    EXPECT_EQ(exitStatus(startRecorder({"--other"}), 5s), 2);
}

} // namespace
} // namespace pln::test
