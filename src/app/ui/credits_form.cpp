#include "app/ui/credits_form.h"

#include "app/ui/paged_text.h"
#include "common/program_info.h"
#include "ui_credits_form.h"

#include <QPushButton>

namespace pln {

std::string viewerVersionLine() {
    return versionLine("PLNViewer", std::string("Qt ") + qVersion());
}

tCreditsForm::tCreditsForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::tCreditsForm>()) {
    ui_->setupUi(this);
    ui_->versionLabel->setText(QString::fromStdString(viewerVersionLine()));
    ui_->buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Ok"));
    connect(ui_->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    centreOnDesktop(*this);
}

tCreditsForm::~tCreditsForm() = default;

QString tCreditsForm::text() const {
    return ui_->creditsBox->toPlainText();
}

QString tCreditsForm::version() const {
    return ui_->versionLabel->text();
}

} // namespace pln
