#include "app/core/startup.h"
#include "platform/fake_platform.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

tLocations locationsFor(const std::string& config) {
    tLocations loc;
    loc.programFolder = "C:\\Program Files\\eMule\\PLN\\";
    loc.eMuleConfigFolder = config;
    loc.messagePrefix = config;
    for (char& c : loc.messagePrefix)
        if (c == '\\')
            c = '/';
    return loc;
}

const std::string viewerName = "C:/eMule/config/dbed2574-6c42-4b54-8165-ddb3421b4d86_viewer";
const std::string recorderName = "C:/eMule/config/dbed2574-6c42-4b54-8165-ddb3421b4d86_recorder";

TEST(Startup, OneViewerPerEmuleConfiguration) {
    FakeMutexService mutexes;
    const auto loc = locationsFor("C:\\eMule\\config\\");
    {
        auto first = claimViewer(mutexes, loc);
        ASSERT_NE(first, nullptr);
        EXPECT_TRUE(mutexes.heldHere.count(viewerName));
        EXPECT_EQ(claimViewer(mutexes, loc), nullptr);
        EXPECT_NE(claimViewer(mutexes, locationsFor("D:\\other\\config\\")), nullptr);
    }
    EXPECT_FALSE(mutexes.heldHere.count(viewerName));

    mutexes.heldElsewhere.insert(viewerName);
    EXPECT_EQ(claimViewer(mutexes, loc), nullptr);
    mutexes.heldElsewhere.clear();
    mutexes.denied.insert(viewerName);
    EXPECT_EQ(claimViewer(mutexes, loc), nullptr);
}

TEST(Startup, StartsTheRecorderOnlyWhenItsMarkIsFree) {
    const auto loc = locationsFor("C:\\eMule\\config\\");
    FakeMutexService mutexes;
    FakeProcessLauncher processes;

    processes.result = false;
    ensureRecorderRunning(mutexes, processes, loc);
    ASSERT_EQ(processes.started.size(), 1u);
    EXPECT_EQ(processes.started[0].first, loc.programFolder + recorderExecutable);
    EXPECT_EQ(processes.started[0].second, "");
    EXPECT_TRUE(mutexes.heldHere.empty()) << "the probe must not keep the recorder's name";

    auto named = locationsFor("C:\\My eMule\\config\\");
    named.namedConfig = "C:\\My eMule\\config\\";
    ensureRecorderRunning(mutexes, processes, named);
    EXPECT_EQ(processes.started.back().second, "--config \"C:\\My eMule\\config\"");

    mutexes.heldElsewhere.insert(recorderName);
    ensureRecorderRunning(mutexes, processes, loc);
    mutexes.heldElsewhere.clear();
    mutexes.denied.insert(recorderName);
    ensureRecorderRunning(mutexes, processes, loc);
    EXPECT_EQ(processes.started.size(), 2u);
}

} // namespace
} // namespace pln
