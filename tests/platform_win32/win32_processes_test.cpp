#include "platform/message_bus.h"
#include "platform/platform.h"
#include "support/temp_dir.h"

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

namespace pln::test {
namespace {

using namespace std::chrono_literals;

std::string windowsFolder(const TempDir& dir) {
    std::string folder = dir.path();
    for (char& c : folder)
        if (c == '/')
            c = '\\';
    while (folder.back() == '\\')
        folder.pop_back();
    return folder;
}

class Win32Processes : public testing::Test {
protected:
    std::string unique(const std::string& stem) {
        return stem + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter_);
    }
    // The peer lies beside this program; starting it also tries the launcher.
    void runPeer(const std::string& parameters) {
        std::string self = platform.system.executablePath();
        std::string peer = self.substr(0, self.find_last_of('\\') + 1) + PLN_PEER;
        ASSERT_TRUE(platform.processes.runProgram(peer, parameters)) << peer;
    }
    static std::string awaitText(const std::string& path) {
        for (auto end = std::chrono::steady_clock::now() + 20s;
             std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(20ms)) {
            std::string text = readText(path);
            if (!text.empty())
                return text;
        }
        return "(nothing)";
    }
    template <class Condition> static bool eventually(Condition condition) {
        for (auto end = std::chrono::steady_clock::now() + 20s;
             std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(20ms))
            if (condition())
                return true;
        return false;
    }

    NativePlatform native;
    Platform& platform = native.services();
    TempDir dir;
    std::string folder = windowsFolder(dir);

private:
    int counter_ = 0;
};

TEST_F(Win32Processes, AMutexNameIsHeldWhileAnyProcessHasIt) {
    MutexService& mutexes = platform.mutexes;
    std::string name = unique("pln-test-mutex-");
    {
        auto own = mutexes.create(name);
        EXPECT_EQ(own.outcome, MutexOutcome::Created);
        EXPECT_TRUE(own.handle);
        EXPECT_EQ(mutexes.create(name).outcome, MutexOutcome::AlreadyExists);
    }
    EXPECT_FALSE(mutexes.isHeld(name)) << "the name goes with its last handle";

    runPeer("hold-mutex " + name + " \"" + folder + "\"");
    EXPECT_EQ(awaitText(folder + "\\ready"), "0") << "the peer created it";
    EXPECT_TRUE(mutexes.isHeld(name));
    std::ofstream(folder + "\\release") << "1";
    EXPECT_TRUE(eventually([&] { return !mutexes.isHeld(name); }))
        << "the name is free once the peer ended";

    EXPECT_EQ(mutexes.create("no-such-namespace\\" + name).outcome, MutexOutcome::AccessDenied);
}

TEST_F(Win32Processes, BroadcastsReachOtherProcessesOfTheConfigurationOnly) {
    std::string prefix = unique("pln-test-bus-") + "/";
    auto bus = openNativeMessageBus(prefix);
    EXPECT_EQ(bus->descriptor(), -1);

    runPeer("listen " + prefix + " \"" + folder + "\"");
    ASSERT_EQ(awaitText(folder + "\\ready"), "1");
    bus->broadcast({prefix + "suspend", 7, -5'000'000'000});
    EXPECT_EQ(awaitText(folder + "\\message"), prefix + "suspend 7 -5000000000");
    EXPECT_TRUE(bus->receive().empty()) << "the sender does not hear itself";

    runPeer("send " + prefix + " other-program 1 1");
    runPeer("send " + prefix + " " + prefix + "resumed 3 4");
    std::vector<BusMessage> received;
    EXPECT_TRUE(eventually([&] {
        bus->waitForMessages(50);
        for (BusMessage& m : bus->receive())
            received.push_back(std::move(m));
        return !received.empty();
    }));
    std::this_thread::sleep_for(300ms);
    for (BusMessage& m : bus->receive())
        received.push_back(std::move(m));
    EXPECT_EQ(received, (std::vector<BusMessage>{{prefix + "resumed", 3, 4}}));
}

} // namespace
} // namespace pln::test
