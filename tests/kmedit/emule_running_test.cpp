#include "kmedit/core/emule_running.h"
#include "platform/fake_platform.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

const std::string config = "C:\\eMule\\config\\";
const std::string preferences = config + "preferences.ini";

// preferences.ini gets a new stamp while it is read when `changing` is set.
struct ChangingFiles : FakeFileSystem {
    bool changing = false;
    std::optional<FileStamp> modificationStamp(const std::string& path) override {
        std::optional<FileStamp> stamp = FakeFileSystem::modificationStamp(path);
        if (changing && stamp)
            ++stamps[path];
        return stamp;
    }
};

struct GuardCase {
    const char* name;
    const char* preferencesText; // null: no preferences.ini
    bool changing;
    bool markerHeld;
    bool markerDenied;
    bool portInUse;
    bool running;
    bool emuleProcess = false; // a process named eMule.exe runs (Wine)
};

class EmuleRunningTest : public testing::TestWithParam<GuardCase> {};

TEST_P(EmuleRunningTest, FollowsPreferencesMarkerAndPort) {
    const GuardCase& c = GetParam();
    FakePlatform fake;
    ChangingFiles files;
    files.changing = c.changing;
    if (c.preferencesText) {
        files.stamps[preferences] = 5000;
        fake.ini.files[preferences] = c.preferencesText;
    }
    const std::string marker = "EMULE-{4EADC6FC-516F-4b7c-9066-97D893649570}:4662";
    if (c.markerHeld)
        fake.mutexes.heldElsewhere.insert(marker);
    if (c.markerDenied)
        fake.mutexes.denied.insert(marker);
    if (c.portInUse)
        fake.ports.inUse.insert(4662);
    if (c.emuleProcess)
        fake.programs.running.insert("eMule.exe");
    Platform platform{fake.system, files,        fake.mutexes, fake.processes, fake.ini,
                      fake.clock,  fake.listing, fake.ports,   fake.programs};

    EXPECT_EQ(isEmuleRunning(platform, config), c.running);
    EXPECT_TRUE(fake.mutexes.heldHere.empty()) << "the probe keeps no marker";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EmuleRunningTest,
    testing::Values(
        GuardCase{"NothingHeld", "[eMule]\nPort=4662\n", false, false, false, false, false},
        GuardCase{"MarkerHeld", "[eMule]\nPort=4662\n", false, true, false, false, true},
        GuardCase{"MarkerDenied", "[eMule]\nPort=4662\n", false, false, true, false, true},
        GuardCase{"PortInUse", "[eMule]\nPort=4662\n", false, false, false, true, true},
        GuardCase{"PortEmptyEvenIfRunning", "[eMule]\nPort=\n", false, true, false, true, false},
        GuardCase{"NoPortKey", "[eMule]\nNick=x\n", false, true, false, true, false},
        GuardCase{"ChangingWhileRead", "[eMule]\nPort=4662\n", true, false, false, false, true},
        GuardCase{"NoPreferences", nullptr, false, false, false, false, true},
        GuardCase{"EmuleProcessWithoutPort", "[eMule]\nPort=\n", false, false, false, false, true,
                  true},
        GuardCase{"PortNotANumberMarkerFree", "[eMule]\nPort=46x\n", false, false, false, true,
                  false}),
    [](const testing::TestParamInfo<GuardCase>& row) { return std::string(row.param.name); });

} // namespace
} // namespace pln
