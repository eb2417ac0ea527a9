#pragma once

#include "app/core/locations.h"
#include "app/core/recorder_messages.h"
#include "common/prompter.h"
#include "logstore/core/recorder_link.h"
#include "platform/message_bus.h"
#include "platform/named_mutex.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QSocketNotifier;

namespace pln {

// The work the viewer performs while the recorder is suspended, by task code.
struct tRecorderTasks {
    std::function<void()> compress;             // 0
    std::function<void()> writeBackConnRunTime; // 1
    std::function<void()> repair;               // 2
};

inline constexpr const char* recorderSilentMessage =
    "The recorder did not answer within 10 seconds, so nothing was changed.\n"
    "Please try again later.";

// The viewer's side of the link with the recorder, over the message bus,
// served by the Qt event loop.
//
// A task that rewrites logs runs only between the recorder's answer to the
// suspend request and the resume that follows it. When no recorder holds
// its mark nobody can be appending, and the task runs at once. A recorder
// that holds its mark but does not answer in time is reported (except for
// the ConnRunTime write-back, which the next load requests again) and
// nothing is rewritten.
//
// One task at a time: while a task runs, and while a command that leads to
// one holds the link (its dialog is open), the link is busy. Messages that
// arrive then (a progress dialog turns the event loop) and suspension
// requests wait, and are served in their order once the link is free; the
// window's load cycle and drawing wait for released() likewise. A nested
// exchange could otherwise resume the recorder in the middle of a rewrite.
class tRecorderLinkQt : public QObject, public tRecorderLink {
    Q_OBJECT

public:
    tRecorderLinkQt(std::unique_ptr<MessageBus> bus, const tLocations& locations,
                    MutexService& mutexes, Prompter& prompter,
                    std::chrono::milliseconds answerPatience = std::chrono::seconds(10),
                    QObject* parent = nullptr);
    // Resumes the recorder for every answer still awaited or not yet
    // served, so that a closing viewer never leaves it suspended.
    ~tRecorderLinkQt() override;

    void setTasks(tRecorderTasks tasks) { tasks_ = std::move(tasks); }

    void broadcastNewLogs() override;
    void suspend(int taskCode) override;
    void holdTasks() override { ++holds_; }
    void releaseTasks() override;
    void broadcastErrorsViewed();

    // A task runs or a command holds the link.
    bool busy() const { return inTask_ || holds_ > 0; }

    // One message from the bus: msgClose asks the viewer to end, msgSuspended
    // runs the task this viewer asked for and resumes the recorder.
    void wndProc(const BusMessage& message);

    bool awaitingAnswer(int taskCode) const { return awaiting_.count(taskCode) != 0; }
    const tRecorderMessages& messages() const { return messages_; }

signals:
    void closeRequested();
    // The link is free again after being busy: work that waited may run.
    void released();
    // Another viewer of this configuration was started and ended.
    void showRequested();

private:
    void readBus();
    void runTask(int taskCode, std::optional<std::uint32_t> resumeWord);
    void serveHeldWork();
    void answerMissing(int taskCode);
    void broadcast(const std::string& name, int word);

    std::unique_ptr<MessageBus> bus_;
    tRecorderMessages messages_;
    std::string recorderMutexName_;
    MutexService& mutexes_;
    Prompter& prompter_;
    std::chrono::milliseconds answerPatience_;
    tRecorderTasks tasks_;
    QSocketNotifier* notifier_ = nullptr;
    std::map<int, std::unique_ptr<QTimer>> awaiting_;
    bool inTask_ = false;
    int holds_ = 0;
    std::vector<BusMessage> deferred_;
    std::vector<int> keptRequests_;
};

} // namespace pln
