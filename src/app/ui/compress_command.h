#pragma once

#include "app/core/process_values.h"
#include "app/ui/action_refresh.h"
#include "logstore/core/compress.h"
#include "logstore/core/log_files.h"
#include "logstore/core/recorder_link.h"
#include "platform/clock.h"

#include <QObject>
#include <functional>

class QAction;
class QWidget;

namespace pln {

// The "Compress logs" command: the dialog confirms it and sets the
// threshold, the recorder is asked to pause, and the compression itself runs
// as the task of the recorder's answer.
class tCompressCommand : public QObject {
public:
    // Runs on the action and enables it, on each refresh, while there is
    // something to compress.
    tCompressCommand(QWidget& window, QAction& action, tActionRefresh& refresh,
                     tProcessValues& values, tLogFiles& logs, tRecorderLink& recorder, Clock& clock,
                     std::function<void()> redraw);

    // aFileCompressLogsExecute.
    void execute();
    // The work of task 0, with the hourglass and a progress dialog. Throws
    // Error with the list of the logs that failed.
    tCompressSummary compressLogs();

private:
    void showSummary(const tCompressSummary& summary);

    QWidget& window_;
    tProcessValues& values_;
    tLogFiles& logs_;
    tRecorderLink& recorder_;
    Clock& clock_;
    std::function<void()> redraw_;
};

} // namespace pln
