#include "emulefiles/stamp_sequence.h"
#include "kmedit/core/emule_running.h"
#include "platform/fake_platform.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

const std::string config = "C:\\eMule\\config\\";
const std::string preferences = config + "preferences.ini";

TEST(EmuleRunning, FollowsPreferencesMarkerAndPort) {
    const struct {
        const char* name;
        const char* preferencesText; // null: no preferences.ini
        bool changing, markerHeld, markerDenied, portInUse, running;
        bool emuleProcess = false; // a process named eMule.exe runs (Wine)
    } rows[] = {
        {"NothingHeld", "[eMule]\nPort=4662\n", false, false, false, false, false},
        {"MarkerHeld", "[eMule]\nPort=4662\n", false, true, false, false, true},
        {"MarkerDenied", "[eMule]\nPort=4662\n", false, false, true, false, true},
        {"PortInUse", "[eMule]\nPort=4662\n", false, false, false, true, true},
        {"PortEmptyEvenIfRunning", "[eMule]\nPort=\n", false, true, false, true, false},
        {"NoPortKey", "[eMule]\nNick=x\n", false, true, false, true, false},
        {"ChangingWhileRead", "[eMule]\nPort=4662\n", true, false, false, false, true},
        {"NoPreferences", nullptr, false, false, false, false, true},
        {"EmuleProcessWithoutPort", "[eMule]\nPort=\n", false, false, false, false, true, true},
        {"PortNotANumberMarkerFree", "[eMule]\nPort=46x\n", false, false, false, true, false},
    };
    const std::string marker = "EMULE-{4EADC6FC-516F-4b7c-9066-97D893649570}:4662";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FakePlatform fake;
        test::StampSequence files;
        if (row.changing) // a new stamp while preferences.ini is read
            files.next = {5000, 5001};
        if (row.preferencesText) {
            files.stamps[preferences] = 5000;
            fake.ini.files[preferences] = row.preferencesText;
        }
        if (row.markerHeld)
            fake.mutexes.heldElsewhere.insert(marker);
        if (row.markerDenied)
            fake.mutexes.denied.insert(marker);
        if (row.portInUse)
            fake.ports.inUse.insert(4662);
        if (row.emuleProcess)
            fake.programs.running.insert("eMule.exe");
        Platform platform{fake.system, files,        fake.mutexes, fake.processes, fake.ini,
                          fake.clock,  fake.listing, fake.ports,   fake.programs};
        EXPECT_EQ(isEmuleRunning(platform, config), row.running);
        EXPECT_TRUE(fake.mutexes.heldHere.empty()) << "the probe keeps no marker";
    }
}

} // namespace
} // namespace pln
