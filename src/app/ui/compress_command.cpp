#include "app/ui/compress_command.h"

#include "app/ui/busy_cursor.h"
#include "app/ui/local_text.h"
#include "common/error.h"
#include "common/setting_keys.h"
#include "logstore/ui/compress_form.h"

#include <QAction>
#include <QMainWindow>
#include <QProgressDialog>
#include <QStatusBar>

namespace pln {

namespace {

// Below this many logs a compression ends before a progress dialog would
// be worth showing.
constexpr int progressMinimumLogs = 20;

} // namespace

tCompressCommand::tCompressCommand(QWidget& window, QAction& action, tActionRefresh& refresh,
                                   tProcessValues& values, tLogFiles& logs, tRecorderLink& recorder,
                                   Clock& clock, std::function<void()> redraw)
    : QObject(&window), window_(window), values_(values), logs_(logs), recorder_(recorder),
      clock_(clock), redraw_(std::move(redraw)) {
    connect(&action, &QAction::triggered, this, &tCompressCommand::execute);
    connect(&refresh, &tActionRefresh::due, this,
            [this, &action] { action.setEnabled(logs_.count() > 0); });
}

void tCompressCommand::execute() {
    {
        tTaskHold hold(recorder_);
        const std::string lastDate = values_.settings.get(settingKey::lastCompressDate);
        tCompressForm form(&window_, lastDate.empty() ? "Never" : lastDate,
                           values_.compressionThreshold);
        if (form.exec() != QDialog::Accepted)
            return;
        values_.compressionThreshold = form.threshold();
        values_.settings.set(settingKey::compressionThreshold, values_.compressionThreshold);
    }
    recorder_.suspend(compressTask);
}

// What the compression did stays in the status bar until the next message.
void tCompressCommand::showSummary(const tCompressSummary& summary) {
    auto* window = qobject_cast<QMainWindow*>(&window_);
    if (!window)
        return;
    QString text = QStringLiteral("Compression: %1 log(s) compressed, %2 records and %3 bytes "
                                  "before, %4 records and %5 bytes after")
                       .arg(summary.logsRewritten)
                       .arg(summary.recordsBefore)
                       .arg(summary.bytesBefore)
                       .arg(summary.recordsAfter)
                       .arg(summary.bytesAfter);
    if (!summary.failures.empty())
        text += QStringLiteral(", %1 log(s) failed").arg(summary.failures.size());
    window->statusBar()->showMessage(text + QLatin1Char('.'));
}

tCompressSummary tCompressCommand::compressLogs() {
    BusyCursor hourglass;
    CalendarMs now = clock_.nowLocal();
    values_.settings.set(settingKey::lastCompressDate, localDateTimeText(now));
    auto total = static_cast<int>(logs_.count());
    QProgressDialog progress(QObject::tr("Compressing the logs..."), QString(), 0, total, &window_);
    progress.setWindowTitle("PLN");
    progress.setWindowModality(Qt::WindowModal);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(total >= progressMinimumLogs ? 0 : 1000);
    tCompressSummary summary = pln::compressLogs(
        logs_, values_.compressionThreshold, now,
        [&](std::size_t done, std::size_t) { progress.setValue(static_cast<int>(done)); });
    progress.setValue(total);
    redraw_();
    showSummary(summary);
    if (!summary.failures.empty())
        throw Error(compressFailureReport(summary.failures));
    return summary;
}

} // namespace pln
