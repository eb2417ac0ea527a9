#include "logstore/ui/combine_form.h"

#include "common/missing_value.h"
#include "logstore/core/combine_formula.h"
#include "logstore/core/log_dialog_rules.h"
#include "logstore/core/log_file.h"
#include "logstore/core/log_names.h"
#include "logstore/core/multiplier.h"
#include "logstore/ui/hint_text.h"
#include "logstore/ui/number_text.h"
#include "ui_combine_form.h"

#include <QButtonGroup>
#include <algorithm>
#include <cmath>

namespace pln {

namespace {

constexpr const char* multiplierHint =
    "Conversion factor\\nFor ex. 24 * 3600 / 1024 / 1024 would convert a value from Bytes/sec to "
    "MBytes/day\\nAllowed operators: * /";
constexpr const char* unitsHint = "This is the text displayed in the Units column";
constexpr int operationCount = 7;

QString numberText(double value) {
    return QString::fromStdString(formatNumber(value, localDecimalSeparator()));
}

} // namespace

tCombineForm::tCombineForm(QWidget* parent, std::string logsFolder)
    : QDialog(parent), ui_(std::make_unique<Ui::tCombineForm>()),
      operations_(new QButtonGroup(this)), logsFolder_(std::move(logsFolder)) {
    ui_->setupUi(this);
    int id = 0;
    for (QAbstractButton* op :
         {ui_->op0, ui_->op1, ui_->op2, ui_->op3, ui_->op4, ui_->op5, ui_->op6})
        operations_->addButton(op, id++);
    updateOperationTexts();
    setHint(*ui_->multiplierBox, multiplierHint);
    setHint(*ui_->unitsBox, unitsHint);
    for (QLineEdit* entry : {ui_->titleBox, ui_->multiplierBox, ui_->maxValueBox})
        connect(entry, &QLineEdit::textChanged, this, &tCombineForm::updateOkBtn);
    connect(ui_->useMaxValueBox, &QCheckBox::clicked, this, &tCombineForm::useMaxValueBoxClick);
    connect(ui_->okBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    updateOkBtn();
    ui_->titleBox->setFocus();
}

tCombineForm::~tCombineForm() = default;

void tCombineForm::updateOperationTexts() {
    for (int op = 0; op < operationCount; ++op)
        operations_->button(op)->setText(QString::fromStdString(
            combineFormula(static_cast<tLogOperation>(op), sourceNames_[0], sourceNames_[1])));
}

void tCombineForm::setSource(int index, const tLogFile& log) {
    sourceNames_.at(static_cast<std::size_t>(index)) = log.displayName();
    updateOperationTexts();
}

void tCombineForm::setEditedLog(const tLogFile& log) {
    editedName_ = log.name();
    sourceNames_ = {displayNameOf(log.sourceNames()[0]), displayNameOf(log.sourceNames()[1])};
    updateOperationTexts();
    if (QAbstractButton* op = operations_->button(static_cast<int>(log.operation())))
        op->setChecked(true);
    ui_->titleBox->setText(QString::fromStdString(log.displayName()));
    editedMultiplier_ = log.multiplier();
    shownMultiplier_ =
        log.multiplier() == 1.0 ? QStringLiteral("1/1") : numberText(log.multiplier());
    ui_->multiplierBox->setText(shownMultiplier_);
    ui_->flagsShowWithRequestsBox->setChecked((log.flags() & flagShowWithRequests) != 0);
    ui_->unitsBox->setText(QString::fromStdString(log.units()));
    const bool hasMaximum = !std::isnan(log.maxValue());
    ui_->useMaxValueBox->setChecked(hasMaximum);
    editedMaxValue_ = log.maxValue();
    shownMaxValue_ = hasMaximum ? numberText(log.maxValue()) : QString();
    ui_->maxValueBox->setText(shownMaxValue_);
    useMaxValueBoxClick();
}

tLogOperation tCombineForm::operation() const {
    return static_cast<tLogOperation>(std::max(operations_->checkedId(), 0));
}

std::string tCombineForm::title() const {
    return ui_->titleBox->text().toStdString();
}

std::uint8_t tCombineForm::flags() const {
    return ui_->flagsShowWithRequestsBox->isChecked() ? flagShowWithRequests : 0;
}

double tCombineForm::multiplier() const {
    const std::string text = ui_->multiplierBox->text().toStdString();
    if (editedName_.empty())
        return getMultiplier(text, localDecimalSeparator());
    return editedMultiplier(text, shownMultiplier_.toStdString(), editedMultiplier_,
                            localDecimalSeparator());
}

std::string tCombineForm::units() const {
    return ui_->unitsBox->text().toStdString();
}

std::optional<double> tCombineForm::enteredMaxValue() const {
    const bool ticked = ui_->useMaxValueBox->isChecked();
    const std::string text = ui_->maxValueBox->text().toStdString();
    if (editedName_.empty())
        return maxValueOf(ticked, text, localDecimalSeparator());
    return editedMaxValue(ticked, text, shownMaxValue_.toStdString(), editedMaxValue_,
                          localDecimalSeparator());
}

double tCombineForm::maxValue() const {
    return enteredMaxValue().value_or(missingValue());
}

bool tCombineForm::validate() const {
    return !std::isnan(multiplier()) && enteredMaxValue() &&
           combineEntriesValid({title(), ui_->multiplierBox->text().toStdString(),
                                ui_->useMaxValueBox->isChecked(),
                                ui_->maxValueBox->text().toStdString()},
                               localDecimalSeparator(), logsFolder_, editedName_);
}

void tCombineForm::updateOkBtn() {
    ui_->okBtn->setEnabled(validate());
}

void tCombineForm::useMaxValueBoxClick() {
    const bool ticked = ui_->useMaxValueBox->isChecked();
    ui_->maxValueBox->setEnabled(ticked);
    if (ticked && isVisible())
        ui_->maxValueBox->setFocus();
    updateOkBtn();
}

void tCombineForm::showEvent(QShowEvent* event) {
    updateOkBtn();
    QDialog::showEvent(event);
}

void tCombineForm::done(int result) {
    if (result != QDialog::Rejected && !validate())
        return;
    QDialog::done(result);
}

} // namespace pln
