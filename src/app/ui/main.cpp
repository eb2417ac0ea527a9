#include "app/core/location_search.h"
#include "app/core/windows_version.h"
#include "app/ui/credits_form.h"
#include "app/ui/main_form.h"
#include "app/ui/qt_prompter.h"
#include "common/error.h"
#include "common/program_info.h"
#include "platform/platform.h"

#include <QApplication>
#include <variant>

namespace {

const char* const usage =
    "Usage: PLNViewer [QT-OPTION]...\n"
    "Shows the statistics that eMule keeps about the files it shares: every known file\n"
    "of known.met with its all-time counters, and graphs of requests, accepted requests\n"
    "and upload rates drawn from the logs that the recorder PLN writes. It starts the\n"
    "recorder, found beside it, when the recorder is not running.\n"
    "\n"
    "Options:\n"
    "      --config FOLDER  eMule's config folder (else $PLN_EMULE_CONFIG, else the one\n"
    "                     eMule uses in the Wine prefix, else ~/.local/share/eMule/config)\n"
    "  -h, --help     show this help and end\n"
    "      --version  show the version and the version of Qt it runs with, and end\n"
    "The options of Qt programs (-platform NAME, -style NAME, ...) are understood too.\n";

} // namespace

int main(int argc, char* argv[]) {
    // Answered before any window or folder: a terminal without a display
    // and a machine without eMule get the answer too.
    if (const auto answered = pln::answerInfoOption(argc, argv, usage, pln::viewerVersionLine()))
        return *answered;
    pln::NativePlatform native;
    pln::Platform& platform = native.services();
    const std::uint16_t windowsVersion = pln::getWindowsVersion(platform.system);
    pln::tLocationsOutcome outcome;
    try {
        const auto search = pln::nativeLocationSearch({argv + 1, argv + argc}, platform.listing);
        outcome = pln::searchLocations(platform.system, platform.files, platform.listing,
                                       windowsVersion, search);
    } catch (const pln::Error& e) {
        outcome = pln::tStartupEnd{e.what()};
    }

    // The locations are known before the application exists, but a message
    // box needs the application, so it is created before any message shows.
    QApplication app(argc, argv);
    pln::QtPrompter prompter;
    if (const auto* end = std::get_if<pln::tStartupEnd>(&outcome)) {
        prompter.showError(end->message);
        return 1;
    }

    auto form = pln::tMainForm::create(platform, prompter, std::get<pln::tLocations>(outcome));
    if (!form)
        return 0;
    form->show();
    return app.exec();
}
