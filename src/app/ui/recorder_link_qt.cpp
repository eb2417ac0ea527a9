#include "app/ui/recorder_link_qt.h"

#include "app/core/startup.h"
#include "common/error.h"

#include <QSocketNotifier>

namespace pln {

tRecorderLinkQt::tRecorderLinkQt(std::unique_ptr<MessageBus> bus, const tLocations& locations,
                                 MutexService& mutexes, Prompter& prompter,
                                 std::chrono::milliseconds answerPatience, QObject* parent)
    : QObject(parent), bus_(std::move(bus)),
      messages_(registerRecorderMessages(locations.messagePrefix)),
      recorderMutexName_(recorderMutexName(locations)), mutexes_(mutexes), prompter_(prompter),
      answerPatience_(answerPatience) {
    if (bus_->descriptor() >= 0) {
        notifier_ = new QSocketNotifier(bus_->descriptor(), QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &tRecorderLinkQt::readBus);
    }
#ifdef _WIN32
    // Broadcasts reach the bus's own window through this event loop; what
    // they leave there is collected every 50 ms, well inside the answer time.
    auto* collector = new QTimer(this);
    connect(collector, &QTimer::timeout, this, &tRecorderLinkQt::readBus);
    collector->start(50);
#endif
}

tRecorderLinkQt::~tRecorderLinkQt() = default;

void tRecorderLinkQt::broadcast(const std::string& name, int word) {
    bus_->broadcast({name, static_cast<std::uint32_t>(word), 0});
}

void tRecorderLinkQt::broadcastNewLogs() {
    broadcast(messages_.msgNewLogs, 0);
}

void tRecorderLinkQt::broadcastErrorsViewed() {
    broadcast(messages_.msgErrorsViewed, 0);
}

void tRecorderLinkQt::suspend(int taskCode) {
    if (inTask_ || awaitingAnswer(taskCode))
        return;
    if (!mutexes_.isHeld(recorderMutexName_)) {
        runTask(taskCode);
        return;
    }
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    connect(timer.get(), &QTimer::timeout, this, [this, taskCode] { answerMissing(taskCode); });
    timer->start(answerPatience_);
    awaiting_[taskCode] = std::move(timer);
    broadcast(messages_.msgSuspend, taskCode);
}

// The request is withdrawn: a recorder that did suspend but whose answer was
// lost would otherwise wait for a resume nobody sends.
void tRecorderLinkQt::answerMissing(int taskCode) {
    awaiting_.erase(taskCode);
    broadcast(messages_.msgResume, taskCode);
    if (taskCode != connRunTimeFixTask)
        prompter_.showError(recorderSilentMessage);
}

void tRecorderLinkQt::readBus() {
    for (const BusMessage& message : bus_->receive())
        wndProc(message);
}

// An answer to a request this viewer did not make (or gave up on) runs no
// work: only the user's confirmation or the viewer's own load starts a
// rewrite. The recorder is resumed all the same, so that it never stays
// suspended for a request nobody serves.
void tRecorderLinkQt::wndProc(const BusMessage& message) {
    if (inTask_) {
        deferred_.push_back(message);
        return;
    }
    if (message.name == messages_.msgClose) {
        emit closeRequested();
    } else if (message.name == messages_.msgSuspended) {
        auto task = static_cast<int>(message.word);
        if (message.word <= 0x7FFFFFFFu && awaitingAnswer(task)) {
            awaiting_.erase(task);
            runTask(task);
        }
        bus_->broadcast({messages_.msgResume, message.word, 0});
    }
}

void tRecorderLinkQt::runTask(int taskCode) {
    const std::function<void()>* work = nullptr;
    if (taskCode == compressTask)
        work = &tasks_.compress;
    else if (taskCode == connRunTimeFixTask)
        work = &tasks_.writeBackConnRunTime;
    else if (taskCode == repairTask)
        work = &tasks_.repair;
    if (work && *work) {
        inTask_ = true;
        try {
            (*work)();
        } catch (const Error& e) {
            prompter_.showError(e.what());
        }
        inTask_ = false;
    }
    for (const BusMessage& message : std::exchange(deferred_, {}))
        wndProc(message);
}

} // namespace pln
