#include "graphs/ui/graph_options_form.h"

#include "common/setting_keys.h"
#include "ui_graph_options_form.h"

#include <string>

namespace pln {

tGraphOptionsForm::tGraphOptionsForm(QWidget* parent, int pointsPerPixel)
    : QDialog(parent), ui_(std::make_unique<Ui::tGraphOptionsForm>()) {
    ui_->setupUi(this);
    ui_->resampleBox->setValue(pointsPerPixel);
    connect(ui_->okBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ui_->resampleBox->setFocus();
    ui_->resampleBox->selectAll();
}

tGraphOptionsForm::~tGraphOptionsForm() = default;

int tGraphOptionsForm::pointsPerPixel() const {
    ui_->resampleBox->interpretText();
    return ui_->resampleBox->value();
}

std::optional<int> tGraphOptionsForm::execute(QWidget* parent, int pointsPerPixel,
                                              tSettingsStore& settings) {
    tGraphOptionsForm form(parent, pointsPerPixel);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    const int chosen = form.pointsPerPixel();
    settings.set(settingKey::pointsPerPixel, chosen);
    return chosen;
}

} // namespace pln
