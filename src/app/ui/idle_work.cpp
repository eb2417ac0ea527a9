#include "app/ui/idle_work.h"

#include <QCoreApplication>
#include <utility>

namespace pln {

tIdleWork::tIdleWork(std::function<bool()> held, QObject* parent)
    : QObject(parent), held_(std::move(held)), timer_(this) {
    timer_.setObjectName(QStringLiteral("idleTimer"));
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &tIdleWork::serve);
}

void tIdleWork::requestRedraw() {
    redraw_ = true;
    schedule();
}

void tIdleWork::requestTags() {
    tags_ = true;
    schedule();
}

void tIdleWork::requestReadout() {
    readout_ = true;
    schedule();
}

void tIdleWork::resume() {
    schedule();
}

void tIdleWork::stop() {
    stopped_ = true;
    timer_.stop();
}

// Once the pending events have been handled.
void tIdleWork::schedule() {
    if (!stopped_ && !timer_.isActive())
        timer_.start(0);
}

void tIdleWork::serve() {
    // A drawing would read the logs a task rewrites; the requests wait.
    if (stopped_ || QCoreApplication::closingDown() || held_())
        return;
    if (std::exchange(redraw_, false))
        emit redrawDue();
    if (std::exchange(tags_, false))
        emit tagsDue();
    if (readout_) {
        emit readoutDue();
        readout_ = false;
    }
    emit served();
}

} // namespace pln
