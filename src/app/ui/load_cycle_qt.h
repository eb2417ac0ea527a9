#pragma once

#include "app/core/known_files_table.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <string>

namespace pln {

class Clock;
class tKnownFilesList;
class tKnownMet;
class tLogFiles;
class tSharedFolders;
class tStatsLogsList;

// What a load cycle reads and what it refills.
struct tLoadSources {
    tSharedFolders& sharedFolders;
    tKnownMet& knownMet;
    tLogFiles& logFiles;
    tKnownFilesList& knownFiles;
    tStatsLogsList& statsLogs;
    Clock& clock;
    // The known files the list shows now.
    std::function<tKnownFilesFilter()> filter;
};

// The load cycle: the shared folders, known.met and the log catalogue read
// again and both lists refilled, from a single-shot timer armed at start-up
// and on user requests, and armed again every 2 s while a cycle cannot
// bring everything up to date. While held (a task rewrites the files, or its
// dialog is open) a cycle that comes due waits for resume().
class tLoadCycleQt : public QObject {
    Q_OBJECT

public:
    tLoadCycleQt(tLoadSources sources, std::function<bool()> held, QObject* parent);

    void arm();
    // A cycle is due: what the lists show may be out of date.
    bool armed() const { return timer_.isActive(); }
    // Runs the cycle that waited for the hold to end.
    void resume();
    // Refills the known files list from known.met in memory, at once.
    bool refillKnownFiles(std::string& failure);

signals:
    void failed(const QString& text);
    void loaded();

private:
    void timerTimer();
    bool loadCycle(std::string& failure);

    tLoadSources sources_;
    std::function<bool()> held_;
    QTimer timer_;
    bool waiting_ = false;
};

} // namespace pln
