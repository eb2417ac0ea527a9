#include "app/core/locations.h"
#include "app/core/recorder_messages.h"
#include "app/core/startup.h"
#include "app/core/windows_version.h"
#include "common/program_info.h"
#include "platform/message_bus.h"
#include "platform/platform.h"
#include "recorder/recorder.h"

#include <csignal>
#include <cstring>
#include <iostream>
#include <variant>

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

} // namespace

// The PLN recorder. Without arguments it records until SIGTERM; with
// --close-viewer it tells the viewer and the recorder of this eMule
// configuration to end, with --stop the recorder alone, and ends itself.
int main(int argc, char* argv[]) {
    if (const auto answered = pln::answerInfoOption(argc, argv, usage, pln::versionLine("PLN")))
        return *answered;
    bool closeViewer = argc == 2 && std::strcmp(argv[1], "--close-viewer") == 0;
    bool stop = argc == 2 && std::strcmp(argv[1], "--stop") == 0;
    if (argc > 2 || (argc == 2 && !closeViewer && !stop)) {
        std::cerr << usage;
        return 2;
    }
    pln::NativePlatform native;
    pln::Platform& platform = native.services();
    auto outcome = pln::resolveLocations(platform.system, platform.files,
                                         pln::getWindowsVersion(platform.system));
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
