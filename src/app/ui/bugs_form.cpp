#include "app/ui/bugs_form.h"

#include "app/ui/paged_text.h"
#include "ui_bugs_form.h"

namespace pln {

tbugsForm::tbugsForm(QWidget* parent, std::vector<std::string> notes)
    : QDialog(parent), ui_(std::make_unique<Ui::tbugsForm>()) {
    ui_->setupUi(this);
    paged_ = new tPagedText(*ui_->bugsBox, *ui_->previousButton, *ui_->nextButton,
                            tTextPager(std::move(notes), 0));
    connect(ui_->closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->tipsButton, &QPushButton::clicked, this, [this] {
        tipsChosen_ = true;
        accept();
    });
    ui_->bugsBox->setFocus();
    centreOnDesktop(*this);
}

tbugsForm::~tbugsForm() = default;

std::size_t tbugsForm::noteIndex() const {
    return paged_->pager().index();
}

QString tbugsForm::text() const {
    return ui_->bugsBox->toPlainText();
}

} // namespace pln
