#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace pln {

// Work that user actions defer until the application is idle, so that a
// burst of selection changes or ticks is served once. While held (a task
// rewrites the logs, or its dialog is open) the requests wait; resume()
// serves them once the hold ends.
class tIdleWork : public QObject {
    Q_OBJECT

public:
    tIdleWork(std::function<bool()> held, QObject* parent);

    void requestRedraw();
    void requestTags();
    void requestReadout();
    // Serves what waited, once the hold has ended.
    void resume();
    // Nothing more is served: the window is closing.
    void stop();

signals:
    void redrawDue();
    void tagsDue();
    void readoutDue();
    // The requests were served; what depends on them may be brought up to date.
    void served();

private:
    void schedule();
    void serve();

    std::function<bool()> held_;
    QTimer timer_;
    bool redraw_ = false;
    bool tags_ = false;
    bool readout_ = false;
    bool stopped_ = false;
};

} // namespace pln
