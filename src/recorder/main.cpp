#include "app/core/locations.h"
#include "app/core/recorder_messages.h"
#include "app/core/startup.h"
#include "app/core/windows_version.h"
#include "platform/message_bus.h"
#include "platform/platform.h"
#include "recorder/recorder.h"

#include <csignal>
#include <cstring>
#include <iostream>
#include <variant>

namespace {

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
// configuration to end, and ends itself.
int main(int argc, char* argv[]) {
    bool closeViewer = argc == 2 && std::strcmp(argv[1], "--close-viewer") == 0;
    if (argc > 2 || (argc == 2 && !closeViewer)) {
        std::cerr << "usage: PLN [--close-viewer]\n";
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
    if (closeViewer) {
        bus->broadcast({pln::registerRecorderMessages(locations.messagePrefix).msgClose, 0, 0});
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
