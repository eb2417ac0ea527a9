#pragma once

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

namespace pln {

// Asks for a new drawing when a log on the graphs changes on disk: the
// recorder appends to the drawn logs each time eMule saves its files, and
// the user watching them need not reload. A drawing follows a moment after
// the last change, and at most one every ten seconds.
class tDrawnLogsWatch : public QObject {
    Q_OBJECT

public:
    tDrawnLogsWatch(std::function<void()> redraw, QObject* parent);

    // The files of the logs drawn now; a replaced file is watched again
    // with the next drawing.
    void watch(const std::vector<std::string>& paths);

private:
    void changed();

    std::function<void()> redraw_;
    QFileSystemWatcher watcher_;
    QTimer timer_;
    QElapsedTimer sinceRedraw_;
};

} // namespace pln
