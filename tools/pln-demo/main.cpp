#include "common/error.h"
#include "demo_incoming.h"
#include "demo_ini.h"
#include "demo_known_met.h"
#include "demo_logs.h"
#include "demo_webservices.h"

#include <iostream>

// Writes a demo eMule profile: the viewer finds it when XDG_DATA_HOME points
// at FOLDER.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: pln-demo FOLDER\n";
        return 2;
    }
    using namespace pln::demo;
    DemoProfile profile{std::filesystem::absolute(argv[1])};
    try {
        std::filesystem::create_directories(profile.config());
        std::filesystem::create_directories(profile.incoming());
        std::filesystem::create_directories(profile.data());
        DemoRandom random(20240601);
        std::vector<DemoSharedFile> shared = writeDemoKnownMet(profile, random);
        writeDemoPreferences(profile, random);
        writeDemoStatistics(profile, random);
        writeDemoIncoming(profile, shared);
        writeDemoWebServices(profile);
        writeDemoLogs(profile, random);
    } catch (const pln::Error& e) {
        std::cerr << "pln-demo: " << e.what() << '\n';
        return 1;
    } catch (const std::filesystem::filesystem_error& e) {
        std::cerr << "pln-demo: " << e.what() << '\n';
        return 1;
    }
    std::cout << "Demo profile written to " << profile.root.string() << '\n';
    return 0;
}
