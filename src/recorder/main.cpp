#include "app/core/location_search.h"
#include "app/core/recorder_messages.h"
#include "app/core/startup.h"
#include "app/core/windows_version.h"
#include "common/error.h"
#include "common/program_info.h"
#include "platform/message_bus.h"
#include "platform/platform.h"
#include "recorder/recorder.h"

#include <csignal>
#include <iostream>
#include <string>
#include <variant>
#include <vector>

namespace {

const char* const usage =
    "Usage: PLN [OPTION]\n"
    "Records the statistics of eMule: each time eMule saves known.met and its INI files,\n"
    "appends the counters of every logged known file and value to the logs of PLN. The\n"
    "viewer PLNViewer starts it beside itself when it is not running; it records until it\n"
    "is ended (SIGTERM, SIGINT or SIGHUP) and leaves its failures in errors.log.\n"
    "\n"
    "Options:\n"
    "      --close-viewer  tell the viewer and the recorder of this eMule configuration\n"
    "                      to end, then end\n"
    "      --stop          tell the recorder of this eMule configuration to end, then end\n"
    "      --config FOLDER eMule's config folder, as for the viewer (which passes on its\n"
    "                      own)\n"
    "  -h, --help          show this help and end\n"
    "      --version       show the version and end\n";

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

#ifdef _WIN32
// Windows ends a recorder by its message (msgClose) or by ending the process;
// Ctrl+C from a console is the one signal there.
void installStopHandlers() {
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
}
#else
// No SA_RESTART: the signal interrupts the recorder's wait at once.
void installStopHandlers() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}
#endif

int runRecorder(const std::vector<std::string>& args) {
    bool closeViewer = false;
    bool stop = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--close-viewer" && !stop) {
            closeViewer = true;
        } else if (args[i] == "--stop" && !closeViewer) {
            stop = true;
        } else if (args[i] != "--config" || ++i == args.size()) {
            std::cerr << usage;
            return 2;
        }
    }
    pln::NativePlatform native;
    pln::Platform& platform = native.services();
    pln::tLocationsOutcome outcome;
    try {
        outcome = pln::searchLocations(platform.system, platform.files, platform.listing,
                                       pln::getWindowsVersion(platform.system),
                                       pln::nativeLocationSearch(args, platform.listing));
    } catch (const pln::Error& e) {
        outcome = pln::tStartupEnd{e.what()};
    }
    if (const auto* end = std::get_if<pln::tStartupEnd>(&outcome)) {
        std::cerr << end->message << '\n';
        return 1;
    }
    const auto& locations = std::get<pln::tLocations>(outcome);
    auto bus = pln::openNativeMessageBus(locations.messagePrefix);
    if (closeViewer || stop) {
        const pln::tRecorderMessages messages =
            pln::registerRecorderMessages(locations.messagePrefix);
        bus->broadcast({closeViewer ? messages.msgClose : messages.msgStopRecorder, 0, 0});
        return 0;
    }
    // Another recorder serves this configuration already.
    auto mark = platform.mutexes.create(pln::recorderMutexName(locations));
    if (mark.outcome != pln::MutexOutcome::Created)
        return 0;
    installStopHandlers();
    pln::tRecorder recorder(
        {locations, platform.files, platform.ini, platform.clock, platform.mutexes, *bus});
    recorder.run(stopRequested);
    return 0;
}

} // namespace

// The PLN recorder. Without arguments it records until SIGTERM; with
// --close-viewer it tells the viewer and the recorder of this eMule
// configuration to end, with --stop the recorder alone, and ends itself.
// --config names eMule's config folder, as for the viewer.
int main(int argc, char* argv[]) {
    // A failure the recorder cannot report in its errors log (no message
    // bus, no memory) ends it with its message rather than an abort.
    try {
        if (const auto answered = pln::answerInfoOption(argc, argv, usage, pln::versionLine("PLN")))
            return *answered;
        return runRecorder(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << "PLN: " << e.what() << '\n';
        return 1;
    }
}
