#include "kmedit/ui/repair_km_form.h"

#include "kmedit/core/repair_link.h"
#include "links/ui/qt_file_dialogs.h"
#include "ui_repair_km_form.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>

namespace pln {

namespace {

constexpr const char* backupHelp =
    "This option can be used before eMule has rehashed all your shared files (and may prevent "
    "eMule from rehashing some of your files)\n"
    "This will simply copy to known.met the data of each known file which is found in the "
    "backup copy but not in known.met.";
constexpr const char* linksHelp =
    "This option can be used before eMule has rehashed all your shared files (and will prevent "
    "eMule from rehashing the imported files)\n"
    "Obviously, this option can only restore what is included if ed2k links, that is: files "
    "name, size, hash and, if provided, AICH hash.";
constexpr const char* recalculateHelp =
    "This option should only be used AFTER EMULE HAS REHASHED YOUR FILES.\n"
    "This will analyse your PLN logs to recalculate the known files stats (total "
    "transferred/requests/accepted requests). Your PLN logs will be updated accordingly.\n"
    "This option alone will only recalculate the stats for the files found in both known.met "
    "and PLN logs.";
constexpr const char* importFromLogsHelp =
    "If this option is selected, the files which are no longer found in known.met will be "
    "restored as well, but since files names and sizes are not stored in PLN logs, they will "
    "all be entitled \"Unknown filename\", and their size will be set to 0.\n"
    "You can afterward use one of the two first options to restore their names and sizes.";
constexpr const char* deleteErroneousHelp =
    "This will remove any known file with either an empty filename (or no filename at all), or "
    "a hash = 00000000000000000000000000000000";

const QString selectCaption = QStringLiteral("&Select...");

void setOffered(QCheckBox& box, bool offered) {
    box.setEnabled(offered);
    box.setChecked(offered);
}

} // namespace

tRepairKMForm::tRepairKMForm(QWidget* parent, tRepairKMFormContext context)
    : QDialog(parent), ui_(std::make_unique<Ui::tRepairKMForm>()), context_(std::move(context)) {
    ui_->setupUi(this);
    ui_->backupKMBtn->setText(backupCaption(false, context_.knownMetBackedUp));
    setHelp(ui_->importFromBackupBox, backupHelp);
    setHelp(ui_->selectSrcBackupBtn, backupHelp);
    setHelp(ui_->importFromLinksBox, linksHelp);
    setHelp(ui_->ed2kLinksBox, linksHelp);
    setHelp(ui_->recalculateStatsBox, recalculateHelp);
    setHelp(ui_->importFromLogsBox, importFromLogsHelp);
    setHelp(ui_->deleteErroneousBox, deleteErroneousHelp);
    setHelp(ui_->helpBox, "");
    setHelp(ui_->okButton, "");
    setHelp(ui_->cancelButton, "");
    connect(ui_->selectSrcBackupBtn, &QPushButton::clicked, this,
            &tRepairKMForm::aSelectKMBackupExecute);
    connect(ui_->backupKMBtn, &QToolButton::clicked, this, &tRepairKMForm::aBackupKMExecute);
    connect(ui_->ed2kLinksBox, &QPlainTextEdit::textChanged, this,
            &tRepairKMForm::ed2kLinksBoxChange);
    connect(ui_->recalculateStatsBox, &QCheckBox::clicked, this,
            &tRepairKMForm::recalculateStatsBoxClick);
    connect(ui_->okButton, &QPushButton::clicked, this, &tRepairKMForm::okButtonClick);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

tRepairKMForm::~tRepairKMForm() = default;

void tRepairKMForm::setHelp(QWidget* control, const char* text) {
    help_[control] = QString::fromUtf8(text);
    control->installEventFilter(this);
}

bool tRepairKMForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (auto it = help_.find(watched); it != help_.end())
            ui_->helpBox->setPlainText(it->second);
    }
    return QDialog::eventFilter(watched, event);
}

tRepairOptions tRepairKMForm::options() const {
    tRepairOptions options;
    if (ui_->importFromBackupBox->isChecked())
        options.backupPath = backupPath_;
    if (ui_->importFromLinksBox->isChecked())
        options.links = linkLines(ui_->ed2kLinksBox->toPlainText().toStdString());
    options.recalculateStats = ui_->recalculateStatsBox->isChecked();
    options.importFromLogs = options.recalculateStats && ui_->importFromLogsBox->isChecked();
    options.deleteErroneous = ui_->deleteErroneousBox->isChecked();
    return options;
}

void tRepairKMForm::aSelectKMBackupExecute() {
    const QString chosen = QtFileDialogs::getOpenFileName(
        this, {},
        {QStringLiteral("Backup files (*.~met *.bak)"), QStringLiteral("Met files (*.met)"),
         QStringLiteral("Any file (*)")},
        QStringLiteral("~met"),
        QFileInfo(QString::fromStdString(context_.knownMetPath)).absolutePath());
    if (!chosen.isEmpty())
        backupChosen(QDir::toNativeSeparators(chosen));
}

// The button shows the chosen copy; "&" in a path is shown, not taken as
// an access key.
void tRepairKMForm::backupChosen(const QString& path) {
    if (isKnownMetItself(path.toStdString(), context_.knownMetPath)) {
        context_.prompter.showError(notABackupMessage);
        backupPath_.clear();
        ui_->selectSrcBackupBtn->setText(selectCaption);
        setOffered(*ui_->importFromBackupBox, false);
        return;
    }
    backupPath_ = path.toStdString();
    ui_->selectSrcBackupBtn->setText(QString(path).replace('&', QStringLiteral("&&")));
    setOffered(*ui_->importFromBackupBox, true);
}

void tRepairKMForm::aBackupKMExecute() {
    if (context_.backup && context_.backup(false))
        ui_->backupKMBtn->setText(backupCaption(false, true));
}

// The help box tells why the links cannot be imported, as they are typed.
void tRepairKMForm::ed2kLinksBoxChange() {
    const std::optional<std::string> refusal =
        linksRefusal(ui_->ed2kLinksBox->toPlainText().toStdString());
    setOffered(*ui_->importFromLinksBox, !refusal);
    QString help = QString::fromUtf8(linksHelp);
    if (refusal)
        help += QStringLiteral("\r\n") + QString::fromStdString(*refusal);
    help_[ui_->ed2kLinksBox] = help;
    if (ui_->ed2kLinksBox->hasFocus())
        ui_->helpBox->setPlainText(help);
}

void tRepairKMForm::recalculateStatsBoxClick() {
    setOffered(*ui_->importFromLogsBox, ui_->recalculateStatsBox->isChecked());
}

void tRepairKMForm::okButtonClick() {
    if (context_.refusal) {
        if (std::optional<std::string> refusal = context_.refusal()) {
            context_.prompter.showError(*refusal);
            return;
        }
    }
    accept();
}

} // namespace pln
