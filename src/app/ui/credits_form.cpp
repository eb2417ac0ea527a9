#include "app/ui/credits_form.h"

#include "app/ui/paged_text.h"
#include "ui_credits_form.h"

namespace pln {

tCreditsForm::tCreditsForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::tCreditsForm>()) {
    ui_->setupUi(this);
    connect(ui_->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    centreOnDesktop(*this);
}

tCreditsForm::~tCreditsForm() = default;

QString tCreditsForm::text() const {
    return ui_->creditsBox->toPlainText();
}

} // namespace pln
