#include "graphs/ui/events_log_edit_form.h"

#include "common/error.h"
#include "common/prompter.h"
#include "common/text.h"
#include "graphs/ui/events_list_delegate.h"
#include "graphs/ui/locale_date_time.h"
#include "graphs/ui/qt_colour.h"
#include "ui_events_log_edit_form.h"

#include <QScopedValueRollback>

namespace pln {

tEventsLogEditForm::tEventsLogEditForm(QWidget* parent, const tEventsEditorContext& context,
                                       std::optional<CalendarMs> date)
    : QDialog(parent), ui_(std::make_unique<Ui::tEventsLogEditForm>()), context_(context),
      working_(context.eventsLogPath) {
    ui_->setupUi(this);
    ui_->eventsBox->setItemDelegate(new tEventsListDelegate(ui_->eventsBox));
    ui_->addBtn->setDefaultAction(ui_->aAdd);
    // The button stays out of the Del shortcut, which belongs to the list.
    ui_->delBtn->setText(ui_->aDel->text());
    connect(ui_->delBtn, &QToolButton::clicked, ui_->aDel, &QAction::trigger);
    connect(ui_->aDel, &QAction::enabledChanged, ui_->delBtn, &QWidget::setEnabled);
    ui_->aDel->setEnabled(false);
    ui_->eventsBox->addAction(ui_->aAdd);
    ui_->eventsBox->addAction(ui_->aDel);
    addAction(ui_->aAdd);

    readable_ = working_.load(context_.prompter);
    moveAsideEventsOfHiddenFiles();
    fillFileBox();
    fillEventsBox();

    connect(ui_->eventsBox, &QListWidget::itemSelectionChanged, this,
            &tEventsLogEditForm::eventsBoxSelect);
    connect(ui_->dateTimeBox, &QLineEdit::textChanged, this, &tEventsLogEditForm::boxesEdit);
    connect(ui_->eventBox, &QLineEdit::textChanged, this, &tEventsLogEditForm::boxesEdit);
    connect(ui_->fileBox, &QComboBox::currentIndexChanged, this, &tEventsLogEditForm::boxesEdit);
    connect(ui_->aAdd, &QAction::triggered, this, &tEventsLogEditForm::aAddExecute);
    connect(ui_->aDel, &QAction::triggered, this, &tEventsLogEditForm::aDelExecute);
    connect(ui_->okBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    if (date) {
        const CalendarMs second = *date - ((*date % 1000) + 1000) % 1000;
        {
            const QScopedValueRollback guard(filling_, true);
            ui_->dateTimeBox->setText(localeDateTimeText(second));
        }
        const std::size_t found = working_.search(second);
        if (found < working_.count() &&
            localeDateTimeText(working_.date(found)) == ui_->dateTimeBox->text()) {
            selectEvent(found);
            eventsBoxSelect();
        }
    }
    ui_->eventBox->setFocus();
}

tEventsLogEditForm::~tEventsLogEditForm() = default;

bool tEventsLogEditForm::execute(QWidget* parent, const tEventsEditorContext& context,
                                 std::optional<CalendarMs> date) {
    tEventsLogEditForm form(parent, context, date);
    return form.exec() == QDialog::Accepted;
}

// The events kept aside join the list again only now, so the file keeps
// them whatever the user did; a failed save leaves the dialog open with
// nothing lost.
void tEventsLogEditForm::accept() {
    if (!readable_) {
        context_.prompter.showError(
            "events.log could not be read, so it is not overwritten: your changes are not saved.");
        return;
    }
    tEventsLog all(context_.eventsLogPath);
    for (const tEvent& event : working_.events())
        all.add(event);
    for (const tEvent& event : keptAside_)
        all.add(event);
    try {
        all.save();
    } catch (const Error& e) {
        context_.prompter.showError(e.what());
        return;
    }
    QDialog::accept();
}

void tEventsLogEditForm::moveAsideEventsOfHiddenFiles() {
    for (std::size_t i = working_.count(); i-- > 0;) {
        const std::string hash = working_.hash(i);
        if (hash.empty() || context_.drawnColour(toUpperAscii(hash)))
            continue;
        keptAside_.push_back(working_.at(i));
        working_.remove(i);
    }
}

void tEventsLogEditForm::fillFileBox() {
    const QScopedValueRollback guard(filling_, true);
    ui_->fileBox->addItem(QStringLiteral("None"));
    for (const tEventFile& file : context_.files) {
        ui_->fileBox->addItem(QString::fromStdString(file.name));
        ui_->fileBox->setItemData(ui_->fileBox->count() - 1, toQColor(file.colour),
                                  Qt::ForegroundRole);
    }
    ui_->fileBox->setCurrentIndex(0);
}

void tEventsLogEditForm::fillEventsBox() {
    const QScopedValueRollback guard(filling_, true);
    ui_->eventsBox->clear();
    for (const tEvent& event : working_.events()) {
        auto* item = new QListWidgetItem(localeDateTimeText(event.date), ui_->eventsBox);
        item->setData(tEventsListDelegate::textRole, QString::fromStdString(event.text()));
        const std::string hash = event.hash();
        if (hash.empty())
            continue;
        if (const auto colour = context_.drawnColour(toUpperAscii(hash)))
            item->setData(tEventsListDelegate::fileColourRole, toQColor(*colour));
    }
}

void tEventsLogEditForm::selectEvent(std::optional<std::size_t> index) {
    {
        const QScopedValueRollback guard(filling_, true);
        ui_->eventsBox->clearSelection();
        ui_->eventsBox->setCurrentRow(index ? static_cast<int>(*index) : -1);
    }
    ui_->aDel->setEnabled(index.has_value());
    if (index)
        ui_->eventsBox->scrollToItem(ui_->eventsBox->item(static_cast<int>(*index)));
}

std::optional<std::size_t> tEventsLogEditForm::selectedEvent() const {
    const QList<QListWidgetItem*> selected = ui_->eventsBox->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return static_cast<std::size_t>(ui_->eventsBox->row(selected.front()));
}

void tEventsLogEditForm::eventsBoxSelect() {
    if (filling_)
        return;
    const auto index = selectedEvent();
    ui_->aDel->setEnabled(index.has_value());
    if (!index)
        return;
    const QScopedValueRollback guard(filling_, true);
    ui_->dateTimeBox->setText(localeDateTimeText(working_.date(*index)));
    ui_->eventBox->setText(QString::fromStdString(working_.text(*index)));
    ui_->fileBox->setCurrentIndex(fileItemOfHash(working_.hash(*index)));
    ui_->errorBox->hide();
}

// Every edit takes the selected event out and, when the date reads, puts
// the edited one in its sorted place.
void tEventsLogEditForm::boxesEdit() {
    if (filling_)
        return;
    const auto date = parseLocaleDateTime(ui_->dateTimeBox->text());
    if (const auto index = selectedEvent())
        working_.remove(*index);
    std::optional<std::size_t> added;
    if (date)
        added =
            working_.add({*date, tEvent::makePart(trimControl(ui_->eventBox->text().toStdString()),
                                                  chosenHash())});
    fillEventsBox();
    selectEvent(added);
    ui_->errorBox->setVisible(!date);
}

void tEventsLogEditForm::aAddExecute() {
    selectEvent(std::nullopt);
    {
        const QScopedValueRollback guard(filling_, true);
        ui_->dateTimeBox->clear();
        ui_->eventBox->clear();
    }
    ui_->dateTimeBox->setFocus();
}

void tEventsLogEditForm::aDelExecute() {
    const auto index = selectedEvent();
    if (!index)
        return;
    working_.remove(*index);
    fillEventsBox();
    if (working_.count() == 0) {
        aAddExecute();
        return;
    }
    selectEvent(std::min(*index, working_.count() - 1));
    eventsBoxSelect();
}

int tEventsLogEditForm::fileItemOfHash(const std::string& hash) const {
    for (int item = ui_->fileBox->count() - 1; item >= 1; --item)
        if (!hash.empty() && iequals(context_.files[static_cast<std::size_t>(item - 1)].hash, hash))
            return item;
    return 0;
}

std::string tEventsLogEditForm::chosenHash() const {
    const int item = ui_->fileBox->currentIndex();
    return item >= 1 ? context_.files[static_cast<std::size_t>(item - 1)].hash : std::string();
}

} // namespace pln
