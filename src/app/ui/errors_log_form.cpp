#include "app/ui/errors_log_form.h"

#include "app/core/errors_log.h"
#include "app/ui/action_refresh.h"
#include "app/ui/local_text.h"
#include "app/ui/recorder_link_qt.h"
#include "common/error.h"
#include "common/prompter.h"
#include "ui_errors_log_form.h"

#include <QAction>
#include <QFontDatabase>
#include <filesystem>

namespace pln {

tErrorsLogForm::tErrorsLogForm(QWidget* parent, const std::vector<std::string>& lines)
    : QDialog(parent), ui_(std::make_unique<Ui::tErrorsLogForm>()) {
    ui_->setupUi(this);
    ui_->logBox->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QStringList text;
    for (const std::string& line : lines)
        text << QString::fromStdString(line);
    ui_->logBox->setPlainText(text.join('\n'));
    connect(ui_->okBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

tErrorsLogForm::~tErrorsLogForm() = default;

QString tErrorsLogForm::text() const {
    return ui_->logBox->toPlainText();
}

bool errorsLogExists(const std::string& dataFolder) {
    std::error_code error;
    return std::filesystem::is_regular_file(dataFolder + errorsLogFileName, error);
}

void aFileRecErrorsLogExecute(QWidget* parent, const std::string& dataFolder,
                              tRecorderLinkQt& recorder, Prompter& prompter) {
    std::string text;
    try {
        text = readErrorsLog(dataFolder + errorsLogFileName);
    } catch (const Error& e) {
        prompter.showError(e.what());
        return;
    }
    tErrorsLogForm form(parent, errorsLogDisplayLines(text, localDateTimeText));
    recorder.broadcastErrorsViewed();
    form.exec();
}

void bindErrorsLogAction(QAction& action, tActionRefresh& refresh, QWidget& window,
                         const std::string& dataFolder, tRecorderLinkQt& recorder,
                         Prompter& prompter) {
    QObject::connect(&action, &QAction::triggered, &action,
                     [window = &window, dataFolder, recorder = &recorder, prompter = &prompter] {
                         aFileRecErrorsLogExecute(window, dataFolder, *recorder, *prompter);
                     });
    QObject::connect(&refresh, &tActionRefresh::due, &action,
                     [&action, dataFolder] { action.setEnabled(errorsLogExists(dataFolder)); });
}

} // namespace pln
