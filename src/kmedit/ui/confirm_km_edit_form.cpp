#include "kmedit/ui/confirm_km_edit_form.h"

#include "ui_confirm_km_edit_form.h"

#include <algorithm>

namespace pln {

QString backupCaption(bool cancelled, bool done) {
    QString caption = cancelled ? QStringLiteral("Backup &cancelled.met...")
                                : QStringLiteral("Backup &known.met...");
    if (done)
        caption += QStringLiteral(" (") + QStringLiteral("Done") + QStringLiteral(")");
    return caption;
}

tConfirmKMEditForm::tConfirmKMEditForm(QWidget* parent, const tConfirmKMEditRequest& request,
                                       const tKnownMetEditSession& session, tBackupMet backup)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui_(std::make_unique<Ui::tConfirmKMEditForm>()), backup_(std::move(backup)) {
    ui_->setupUi(this);
    setWindowTitle(QString::fromStdString(request.caption));
    ui_->textBox->setPlainText(QString::fromStdString(request.text));
    // The buttons are wide enough for their captions once a backup is done.
    for (QPushButton* button : {ui_->aBackupKM, ui_->aBackupCM}) {
        button->setText(backupCaption(button == ui_->aBackupCM, true));
        button->setMinimumWidth(button->sizeHint().width());
    }
    ui_->aBackupKM->setText(backupCaption(false, session.knownMetBackedUp()));
    ui_->aBackupCM->setText(backupCaption(true, session.cancelledMetBackedUp()));
    setMinimumWidth(std::max(minimumWidth(), layout()->minimumSize().width()));
    resize(size().expandedTo(minimumSize()));
    ui_->aBackupCM->setEnabled(request.cancelledMode);
    ui_->delLogBox->setEnabled(request.offerDeleteLog);
    ui_->delLogBox->setChecked(request.offerDeleteLog && session.deleteLog());
    connect(ui_->aBackupKM, &QPushButton::clicked, this, [this] { runBackup(false); });
    connect(ui_->aBackupCM, &QPushButton::clicked, this, [this] { runBackup(true); });
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    ui_->okButton->setFocus();
}

tConfirmKMEditForm::~tConfirmKMEditForm() = default;

bool tConfirmKMEditForm::deleteLogChecked() const {
    return ui_->delLogBox->isChecked();
}

bool tConfirmKMEditForm::dontAskChecked() const {
    return ui_->dontAskBox->isChecked();
}

// A failed or abandoned copy leaves the caption as it was, so the user may
// try again or go on without a backup.
void tConfirmKMEditForm::runBackup(bool cancelled) {
    if (backup_(cancelled))
        (cancelled ? ui_->aBackupCM : ui_->aBackupKM)->setText(backupCaption(cancelled, true));
}

bool confirmKMEdit(QWidget* parent, const tConfirmKMEditRequest& request, tKnownMetEdit edit,
                   tKnownMetEditSession& session, bool& deleteLog, const tBackupMet& backup,
                   const tRunDialog& run) {
    tConfirmKMEditForm form(parent, request, session, backup);
    const bool accepted = run(form) == QDialog::Accepted;
    if (request.offerDeleteLog) {
        deleteLog = form.deleteLogChecked();
        session.setDeleteLog(deleteLog);
    }
    session.setDontAsk(edit, form.dontAskChecked());
    return accepted;
}

} // namespace pln
