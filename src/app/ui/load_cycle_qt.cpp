#include "app/ui/load_cycle_qt.h"

#include "app/core/load_cycle.h"
#include "app/core/shared_lookup.h"
#include "app/ui/busy_cursor.h"
#include "app/ui/known_files_list.h"
#include "app/ui/stats_logs_list.h"
#include "emulefiles/core/known_met.h"
#include "emulefiles/core/shared_folders.h"
#include "logstore/core/log_files.h"

#include <utility>

namespace pln {

tLoadCycleQt::tLoadCycleQt(tLoadSources sources, std::function<bool()> held, QObject* parent)
    : QObject(parent), sources_(std::move(sources)), held_(std::move(held)), timer_(this) {
    timer_.setObjectName(QStringLiteral("timer"));
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &tLoadCycleQt::timerTimer);
}

void tLoadCycleQt::arm() {
    timer_.start(loadCycleFirstDelayMs);
}

void tLoadCycleQt::resume() {
    if (std::exchange(waiting_, false))
        arm();
}

void tLoadCycleQt::timerTimer() {
    timer_.stop();
    // The catalogue and the list are rebuilt only when no task works on them.
    if (held_()) {
        waiting_ = true;
        return;
    }
    std::string failure;
    bool done = false;
    {
        BusyCursor busy;
        done = loadCycle(failure);
    }
    if (done) {
        emit loaded();
        return;
    }
    timer_.start(loadCycleRetryDelayMs);
    emit failed(QString::fromStdString("Loading failed, retrying every 2 s: " + failure));
}

bool tLoadCycleQt::loadCycle(std::string& failure) {
    // Every source is tried, but known.met waits for all of them.
    if (!loadSharedFolders(sources_.sharedFolders, failure))
        return false;
    if (!loadEmuleFiles(sources_.knownMet, failure)) {
        // A failed reload drops the records: no row may outlive them.
        if (!sources_.knownMet.list())
            sources_.knownFiles.clear();
        return false;
    }
    sources_.logFiles.scanLogs();
    const bool filled = refillKnownFiles(failure);
    sources_.statsLogs.logFilesLoaded();
    return filled;
}

bool tLoadCycleQt::refillKnownFiles(std::string& failure) {
    // The files on disk are matched afresh at each fill.
    tSharedFileTable shared;
    sources_.sharedFolders.scanSharedFiles(shared);
    return sources_.knownFiles.knownMetLoaded(sources_.knownMet.list(), sources_.filter(),
                                              sharedFileLookup(shared, sources_.clock), failure);
}

} // namespace pln
