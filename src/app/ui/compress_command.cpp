#include "app/ui/compress_command.h"

#include "app/ui/busy_cursor.h"
#include "app/ui/local_text.h"
#include "common/error.h"
#include "logstore/ui/compress_form.h"

#include <QProgressDialog>

namespace pln {

namespace {

// Below this many logs a compression ends before a progress dialog would
// be worth showing.
constexpr int progressMinimumLogs = 20;

} // namespace

tCompressCommand::tCompressCommand(QWidget& window, tProcessValues& values, tLogFiles& logs,
                                   tRecorderLink& recorder, Clock& clock,
                                   std::function<void()> redraw)
    : window_(window), values_(values), logs_(logs), recorder_(recorder), clock_(clock),
      redraw_(std::move(redraw)) {}

void tCompressCommand::execute() {
    {
        tTaskHold hold(recorder_);
        tCompressForm form(&window_, values_.settings.getIniString("lastCompressDate", "Never"),
                           values_.compressionThreshold);
        if (form.exec() != QDialog::Accepted)
            return;
        values_.compressionThreshold = form.threshold();
        values_.settings.setIniInt("compressionThreshold", values_.compressionThreshold);
    }
    recorder_.suspend(compressTask);
}

tCompressSummary tCompressCommand::compressLogs() {
    BusyCursor hourglass;
    CalendarMs now = clock_.nowLocal();
    values_.settings.setIniString("lastCompressDate", localDateTimeText(now));
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
    if (!summary.failures.empty())
        throw Error(compressFailureReport(summary.failures));
    return summary;
}

} // namespace pln
