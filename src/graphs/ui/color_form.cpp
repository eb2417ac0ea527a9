#include "graphs/ui/color_form.h"

#include "graphs/ui/color_preview.h"
#include "graphs/ui/qt_colour.h"
#include "ui_color_form.h"

#include <QColorDialog>
#include <cmath>

namespace pln {

namespace {

constexpr int swatchSize = 14;

} // namespace

std::optional<QColor> systemColourPicker(QWidget* parent, const QColor& initial) {
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

tColorForm::tColorForm(QWidget* parent, const tChartColours& current, tColourPicker picker)
    : QDialog(parent), ui_(std::make_unique<Ui::tColorForm>()), slots_(current.slotColours),
      picker_(std::move(picker)) {
    ui_->setupUi(this);
    preview_ = std::make_unique<tColorPreview>(*ui_->reqChart, *ui_->transChart,
                                               palette().color(QPalette::Base));
    ui_->seriesBox->setIconSize(QSize(swatchSize, swatchSize));
    for (std::size_t slot = 0; slot < colorSlotCount; ++slot) {
        ui_->seriesBox->addItem(QString::fromStdString(slotLabel(slot)));
        showSlotColour(slot);
    }
    ui_->lumBar->setValue(static_cast<int>(std::lround(current.deltaLum * 100)));
    ui_->aEditColor->setShortcuts(
        {QKeySequence(Qt::ALT | Qt::Key_Return), QKeySequence(Qt::ALT | Qt::Key_Enter)});
    ui_->aEditColor->setEnabled(false);
    ui_->seriesBox->addAction(ui_->aEditColor);

    connect(ui_->seriesBox, &QListWidget::currentRowChanged, this, &tColorForm::seriesBoxSelect);
    connect(ui_->lumBar, &QScrollBar::valueChanged, this, &tColorForm::seriesBoxSelect);
    connect(ui_->seriesBox, &QListWidget::itemDoubleClicked, this, &tColorForm::aEditColorExecute);
    connect(ui_->aEditColor, &QAction::triggered, this, &tColorForm::aEditColorExecute);
    connect(ui_->okBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ui_->seriesBox->setFocus();
}

tColorForm::~tColorForm() = default;

tChartColours tColorForm::colours() const {
    return {slots_, ui_->lumBar->value() / 100.0};
}

std::optional<tChartColours> tColorForm::execute(QWidget* parent, const tChartColours& current,
                                                 tSettingsStore& settings,
                                                 const tColourPicker& picker) {
    tColorForm form(parent, current, picker);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    const tChartColours chosen = form.colours();
    storeColors(settings, chosen);
    return chosen;
}

std::optional<std::size_t> tColorForm::selectedSlot() const {
    const int row = ui_->seriesBox->currentRow();
    if (row < 0)
        return std::nullopt;
    return static_cast<std::size_t>(row);
}

void tColorForm::seriesBoxSelect() {
    const auto slot = selectedSlot();
    ui_->aEditColor->setEnabled(slot.has_value());
    preview_->show(slot, slot ? slots_[*slot] : 0, ui_->lumBar->value() / 100.0);
}

void tColorForm::aEditColorExecute() {
    const auto slot = selectedSlot();
    if (!slot)
        return;
    const auto chosen = picker_(this, toQColor(slots_[*slot]));
    if (!chosen)
        return;
    slots_[*slot] = fromQColor(*chosen);
    showSlotColour(*slot);
    seriesBoxSelect();
}

void tColorForm::showSlotColour(std::size_t slot) {
    ui_->seriesBox->item(static_cast<int>(slot))
        ->setIcon(QIcon(colourSwatch(slots_[slot], swatchSize)));
}

} // namespace pln
