#include "links/ui/copy_format_form.h"

#include "ui_copy_format_form.h"

#include <QToolButton>

namespace pln {

tCopyFormatForm::tCopyFormatForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::tCopyFormatForm>()) {
    ui_->setupUi(this);
    for (auto* button : findChildren<QToolButton*>())
        connect(button, &QToolButton::clicked, this, [this, button] { SpeedButtonsClick(button); });
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

tCopyFormatForm::~tCopyFormatForm() = default;

std::string tCopyFormatForm::format() const {
    return ui_->formatBox->text().toStdString();
}

void tCopyFormatForm::setFormat(const std::string& format) {
    ui_->formatBox->setText(QString::fromStdString(format));
}

std::optional<std::string> tCopyFormatForm::execute(QWidget* parent, const std::string& format) {
    tCopyFormatForm form(parent);
    form.setFormat(format);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return form.format();
}

// The caption carries the mnemonic "&" of the button; the placeholder is the
// caption without it. Typing goes on where the placeholder ends.
void tCopyFormatForm::SpeedButtonsClick(QAbstractButton* button) {
    QString text = button->text();
    if (qsizetype amp = text.indexOf('&'); amp >= 0)
        text.remove(amp, 1);
    ui_->formatBox->insert(text);
    ui_->formatBox->setFocus();
}

} // namespace pln
