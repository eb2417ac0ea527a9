#include "app/core/locations.h"
#include "app/core/windows_version.h"
#include "app/ui/main_form.h"
#include "app/ui/qt_prompter.h"
#include "platform/platform.h"

#include <QApplication>
#include <variant>

int main(int argc, char* argv[]) {
    pln::NativePlatform native;
    pln::Platform& platform = native.services();
    const std::uint16_t windowsVersion = pln::getWindowsVersion(platform.system);
    auto outcome = pln::resolveLocations(platform.system, platform.files, windowsVersion);

    // The locations are known before the application exists, but a message
    // box needs the application, so it is created before any message shows.
    QApplication app(argc, argv);
    pln::QtPrompter prompter;
    if (const auto* end = std::get_if<pln::tStartupEnd>(&outcome)) {
        prompter.showError(end->message);
        return 1;
    }

    auto form = pln::tMainForm::create(platform, prompter, std::get<pln::tLocations>(outcome),
                                       windowsVersion);
    if (!form)
        return 0;
    form->show();
    return app.exec();
}
