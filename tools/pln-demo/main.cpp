#include "common/error.h"
#include "common/program_info.h"
#include "demo_incoming.h"
#include "demo_ini.h"
#include "demo_known_met.h"
#include "demo_live.h"
#include "demo_logs.h"
#include "demo_webservices.h"
#include "demo_wine.h"

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

const char* const usage = "Usage: pln-demo [--years N] FOLDER\n"
                          "       pln-demo --live FOLDER [SECONDS]\n"
                          "       pln-demo --wine PREFIX\n"
                          "Writes a demo eMule profile into FOLDER; the viewer finds it when\n"
                          "XDG_DATA_HOME points at FOLDER. Its logs hold 200 days of history,\n"
                          "or N years with --years. With --live, saves the profile's\n"
                          "known.met every SECONDS (20) like a running eMule. With --wine,\n"
                          "lays out PREFIX as a Wine prefix with eMule installed and the\n"
                          "profile in its user's folders: WINEPREFIX=PREFIX PLNViewer finds it.\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help     show this help and end\n"
                          "      --version  show the version and end\n";

} // namespace

// Writes a demo eMule profile: the viewer finds it when XDG_DATA_HOME points
// at FOLDER, or, with --wine, when WINEPREFIX names PREFIX. With --live it plays a running eMule on
// that profile instead; with --years its logs hold that many years of history.
int main(int argc, char** argv) {
    using namespace pln::demo;
    if (const auto answered =
            pln::answerInfoOption(argc, argv, usage, pln::versionLine("pln-demo")))
        return *answered;
    // An unknown option is not a folder to write a profile into.
    const std::string first = argc > 1 ? argv[1] : "";
    const int folderArgument = first == "--live" || first == "--wine" ? 2
                               : first == "--years"                   ? 3
                                                                      : 1;
    if (argc <= folderArgument || pln::looksLikeOption(argv[folderArgument])) {
        std::cerr << usage;
        return 2;
    }
    if (argc >= 3 && argc <= 4 && std::string(argv[1]) == "--live") {
        int interval = argc == 4 ? std::atoi(argv[3]) : 20;
        if (interval < 1) {
            std::cerr << "pln-demo: the interval is a number of seconds\n";
            return 2;
        }
        try {
            runLiveDemo({std::filesystem::absolute(argv[2])}, interval);
        } catch (const std::exception& e) {
            std::cerr << "pln-demo: " << e.what() << '\n';
            return 1;
        }
        return 0;
    }
    int historyDays = demoHistoryDays;
    if (argc == 4 && std::string(argv[1]) == "--years") {
        int years = std::atoi(argv[2]);
        if (years < 1 || years > 40) {
            std::cerr << "pln-demo: the years are a number from 1 to 40\n";
            return 2;
        }
        historyDays = years * 365;
        argv += 2;
        argc -= 2;
    }
    const bool wine = argc == 3 && std::string(argv[1]) == "--wine";
    if (argc != 2 && !wine) {
        std::cerr << usage;
        return 2;
    }
    DemoProfile profile{std::filesystem::absolute(argv[argc - 1])};
    try {
        if (wine)
            profile = prepareWinePrefix(profile.root);
        std::filesystem::create_directories(profile.config());
        std::filesystem::create_directories(profile.incoming());
        std::filesystem::create_directories(profile.data());
        DemoRandom random(20240601);
        std::vector<DemoSharedFile> shared = writeDemoKnownMet(profile, random);
        writeDemoPreferences(profile, random);
        writeDemoStatistics(profile, random);
        writeDemoIncoming(profile, shared);
        writeDemoWebServices(profile);
        writeDemoLogs(profile, random, historyDays);
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
