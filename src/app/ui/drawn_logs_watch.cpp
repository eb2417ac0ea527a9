#include "app/ui/drawn_logs_watch.h"

#include <QStringList>
#include <algorithm>

namespace pln {

namespace {

// An append is a few writes: the drawing waits until they are all done.
constexpr qint64 settleMs = 1000;
constexpr qint64 redrawPeriodMs = 10'000;

} // namespace

tDrawnLogsWatch::tDrawnLogsWatch(std::function<void()> redraw, QObject* parent)
    : QObject(parent), redraw_(std::move(redraw)), timer_(this) {
    timer_.setSingleShot(true);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &tDrawnLogsWatch::changed);
    connect(&timer_, &QTimer::timeout, this, [this] {
        sinceRedraw_.start();
        redraw_();
    });
}

void tDrawnLogsWatch::watch(const std::vector<std::string>& paths) {
    QStringList wanted;
    for (const std::string& path : paths)
        wanted << QString::fromStdString(path);
    wanted.removeDuplicates();
    wanted.sort();
    QStringList watched = watcher_.files();
    watched.sort();
    if (wanted == watched)
        return;
    if (!watched.isEmpty())
        watcher_.removePaths(watched);
    if (!wanted.isEmpty())
        watcher_.addPaths(wanted);
}

void tDrawnLogsWatch::changed() {
    if (timer_.isActive())
        return;
    qint64 delay = settleMs;
    if (sinceRedraw_.isValid())
        delay = std::max(delay, redrawPeriodMs - sinceRedraw_.elapsed());
    timer_.start(static_cast<int>(delay));
}

} // namespace pln
