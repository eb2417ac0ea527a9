#include "app/ui/tips_form.h"

#include "app/ui/paged_text.h"
#include "ui_tips_form.h"

namespace pln {

tTipsForm::tTipsForm(QWidget* parent, std::vector<std::string> tips, std::size_t first,
                     bool showAtStartup)
    : QDialog(parent), ui_(std::make_unique<Ui::tTipsForm>()) {
    ui_->setupUi(this);
    ui_->showAtStartupBox->setChecked(showAtStartup);
    paged_ = new tPagedText(*ui_->tipsBox, *ui_->previousButton, *ui_->nextButton,
                            tTextPager(std::move(tips), first));
    connect(ui_->closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->notesButton, &QPushButton::clicked, this, [this] {
        notesChosen_ = true;
        accept();
    });
    ui_->tipsBox->setFocus();
    centreOnDesktop(*this);
}

tTipsForm::~tTipsForm() = default;

bool tTipsForm::showAtStartup() const {
    return ui_->showAtStartupBox->isChecked();
}

std::size_t tTipsForm::tipIndex() const {
    return paged_->pager().index();
}

QString tTipsForm::text() const {
    return ui_->tipsBox->toPlainText();
}

} // namespace pln
