#include "app/ui/main_form.h"

#include "app/core/load_cycle.h"
#include "app/core/startup.h"
#include "app/ui/local_text.h"

#include <QApplication>

namespace pln {

namespace {

constexpr int designWidth = 696;
constexpr int designHeight = 480;

} // namespace

std::unique_ptr<tMainForm> tMainForm::create(Platform& platform, Prompter& prompter,
                                             tLocations locations, std::uint16_t windowsVersion) {
    auto viewerMutex = claimViewer(platform.mutexes, locations);
    if (!viewerMutex)
        return nullptr;
    return std::unique_ptr<tMainForm>(new tMainForm(platform, prompter, std::move(viewerMutex),
                                                    std::move(locations), windowsVersion));
}

tMainForm::tMainForm(Platform& platform, Prompter& prompter,
                     std::unique_ptr<NamedMutex> viewerMutex, tLocations locations,
                     std::uint16_t windowsVersion)
    : platform_(platform), prompter_(prompter), viewerMutex_(std::move(viewerMutex)),
      values_(std::move(locations), windowsVersion, platform.ini), timer_(this) {
    ensureRecorderRunning(platform_.mutexes, platform_.processes, values_.locations);

    setWindowTitle(QString::fromStdString("PLN - " + values_.locations.eMuleConfigFolder));
    setCentralWidget(new QWidget(this));
    resize(designWidth, designHeight);

    ensureLastCompressDate(values_.settings, platform_.clock, localDateTimeText);
    values_.readSettings();

    knownMet_ = std::make_unique<tKnownMet>(values_.locations.eMuleConfigFolder + "known.met",
                                            platform_.files, platform_.clock);

    // The first load runs from the event loop, once the window is up.
    timer_.setObjectName(QStringLiteral("timer"));
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &tMainForm::timerTimer);
    timer_.start(loadCycleFirstDelayMs);
}

tMainForm::~tMainForm() = default;

void tMainForm::timerTimer() {
    timer_.stop();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!loadEmuleFiles(*knownMet_))
        timer_.start(loadCycleRetryDelayMs);
    QApplication::restoreOverrideCursor();
}

} // namespace pln
