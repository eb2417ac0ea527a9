#include "logstore/ui/compress_form.h"

#include "common/error.h"
#include "logstore/core/compress.h"
#include "logstore/ui/hint_text.h"
#include "ui_compress_form.h"

#include <QKeyEvent>

namespace pln {

std::string compressExplanation(const std::string& lastCompressDate) {
    return format("This will drop some values in the old parts of the logs to reduce their size, "
                  "so the left part of the graphics will become a bit less accurate (at least "
                  "when zoomed).\nIn the oldest parts, only one value every %s hours will "
                  "remain.\n\nThis cannot be undone, so if you're not sure, please first make a "
                  "backup of your logs folder.\n\nLast compression date: %s",
                  {std::to_string(largestSpacingHours), lastCompressDate});
}

tCompressForm::tCompressForm(QWidget* parent, const std::string& lastCompressDate, int threshold)
    : QDialog(parent), ui_(std::make_unique<Ui::tCompressForm>()) {
    ui_->setupUi(this);
    ui_->blablaBox->setPlainText(QString::fromStdString(compressExplanation(lastCompressDate)));
    // The text reads as part of the form, not as an edit box.
    QPalette palette = ui_->blablaBox->palette();
    palette.setColor(QPalette::Base, this->palette().color(QPalette::Window));
    ui_->blablaBox->setPalette(palette);
    ui_->compressThresholdBox->setValue(threshold);
    setHint(*ui_->compressThresholdBox, compressThresholdHint);
    connect(ui_->okBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    ui_->compressThresholdBox->setFocus();
}

tCompressForm::~tCompressForm() = default;

int tCompressForm::threshold() const {
    ui_->compressThresholdBox->interpretText();
    return ui_->compressThresholdBox->value();
}

QString tCompressForm::explanation() const {
    return ui_->blablaBox->toPlainText();
}

bool tCompressForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();
            return true;
        }
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pln
