#include "app/ui/recorder_link_qt.h"

#include "app/core/startup.h"
#include "common/error.h"

#include <QSocketNotifier>
#include <algorithm>
#include <set>

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

tRecorderLinkQt::~tRecorderLinkQt() {
    std::set<std::uint32_t> suspended;
    for (const auto& awaited : awaiting_)
        suspended.insert(static_cast<std::uint32_t>(awaited.first));
    for (const BusMessage& message : deferred_)
        if (message.name == messages_.msgSuspended)
            suspended.insert(message.word);
    for (std::uint32_t word : suspended)
        bus_->broadcast({messages_.msgResume, word, 0});
}

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
    if (busy()) {
        if (std::find(keptRequests_.begin(), keptRequests_.end(), taskCode) == keptRequests_.end())
            keptRequests_.push_back(taskCode);
        return;
    }
    if (awaitingAnswer(taskCode))
        return;
    if (!mutexes_.isHeld(recorderMutexName_)) {
        runTask(taskCode, std::nullopt);
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
    if (busy()) {
        // The recorder has answered: its answer is no longer late, it waits.
        if (message.name == messages_.msgSuspended && message.word <= 0x7FFFFFFFu) {
            auto awaited = awaiting_.find(static_cast<int>(message.word));
            if (awaited != awaiting_.end())
                awaited->second->stop();
        }
        deferred_.push_back(message);
        return;
    }
    if (message.name == messages_.msgClose) {
        emit closeRequested();
    } else if (message.name == messages_.msgShowViewer) {
        emit showRequested();
    } else if (message.name == messages_.msgSuspended) {
        auto task = static_cast<int>(message.word);
        if (message.word <= 0x7FFFFFFFu && awaitingAnswer(task)) {
            awaiting_.erase(task);
            runTask(task, message.word);
        } else {
            bus_->broadcast({messages_.msgResume, message.word, 0});
        }
    }
}

// The recorder is resumed before a failure is shown, and the box still
// holds other work back.
void tRecorderLinkQt::runTask(int taskCode, std::optional<std::uint32_t> resumeWord) {
    const std::function<void()>* work = nullptr;
    if (taskCode == compressTask)
        work = &tasks_.compress;
    else if (taskCode == connRunTimeFixTask)
        work = &tasks_.writeBackConnRunTime;
    else if (taskCode == repairTask)
        work = &tasks_.repair;
    std::optional<std::string> failure;
    inTask_ = true;
    if (work && *work) {
        try {
            (*work)();
        } catch (const Error& e) {
            failure = e.what();
        }
    }
    if (resumeWord)
        bus_->broadcast({messages_.msgResume, *resumeWord, 0});
    inTask_ = false;
    if (failure) {
        tTaskHold hold(*this);
        prompter_.showError(*failure);
    } else if (!busy()) {
        serveHeldWork();
    }
}

void tRecorderLinkQt::releaseTasks() {
    if (--holds_ == 0 && !inTask_)
        serveHeldWork();
}

void tRecorderLinkQt::serveHeldWork() {
    for (const BusMessage& message : std::exchange(deferred_, {}))
        wndProc(message);
    for (int taskCode : std::exchange(keptRequests_, {}))
        suspend(taskCode);
    if (!busy())
        emit released();
}

} // namespace pln
