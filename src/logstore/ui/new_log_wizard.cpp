#include "logstore/ui/new_log_wizard.h"

#include "common/text.h"
#include "logstore/core/ini_tree.h"
#include "logstore/core/log_dialog_rules.h"
#include "logstore/core/log_file.h"
#include "logstore/core/log_files.h"
#include "logstore/core/log_names.h"
#include "logstore/core/multiplier.h"
#include "logstore/core/online_signature.h"
#include "logstore/ui/hint_text.h"
#include "logstore/ui/number_text.h"
#include "ui_new_log_wizard.h"

#include <QButtonGroup>
#include <cmath>

namespace pln {

namespace {

constexpr const char* treeHint = "Select the value you want to log";
constexpr const char* typeHint =
    "You can select short types, when applicable, to reduce the log file size";
constexpr const char* cumulativeHint =
    "tick this box to calculate a rate from two consecutive cumulative values (for ex. the upload "
    "rate from the TotalUploadedByte stat).\\n(This is not related to the cumulative / session "
    "stats.)";
constexpr const char* savedOnChangeHint =
    "Should be ticked for files which are saved only when a value has changed (preferences.ini) "
    "-> do not extrapolate values\\nShould NOT be ticked for files which are saved on a regular "
    "basis (statistics.ini) -> extrapolate values";
constexpr const char* multiplierHint =
    "Conversion factor\\nFor ex. 24 * 3600 / 1024 / 1024 would convert a value from Bytes/sec to "
    "MBytes/day\\nAllowed operators: * /";
constexpr const char* unitsHint = "This is the text displayed in the Units column";

constexpr int keyDepth = 2;

int depthOf(const QTreeWidgetItem* node) {
    int depth = 0;
    for (; node && node->parent(); node = node->parent())
        ++depth;
    return depth;
}

std::string textOf(const QTreeWidgetItem* node) {
    return node->text(0).toStdString();
}

QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const std::string& text) {
    return new QTreeWidgetItem(parent, {QString::fromStdString(text)});
}

} // namespace

tNewLogWizard::tNewLogWizard(QWidget* parent, tNewLogSources sources)
    : tNewLogWizard(parent, std::move(sources), nullptr) {}

tNewLogWizard::tNewLogWizard(QWidget* parent, tNewLogSources sources, const tLogFile& edited)
    : tNewLogWizard(parent, std::move(sources), &edited) {}

tNewLogWizard::tNewLogWizard(QWidget* parent, tNewLogSources sources, const tLogFile* edited)
    : QDialog(parent), ui_(std::make_unique<Ui::tNewLogWizard>()), types_(new QButtonGroup(this)),
      sources_(std::move(sources)) {
    ui_->setupUi(this);
    setUpControls();
    if (edited) {
        editedName_ = edited->name();
        buildEditTree(*edited);
        showEditedProperties(*edited);
    } else {
        buildTree();
    }
    updateOkBtn();
    ui_->tree->setFocus();
}

tNewLogWizard::~tNewLogWizard() = default;

void tNewLogWizard::setUpControls() {
    int id = 0;
    for (QAbstractButton* type :
         {ui_->typeByte, ui_->typeShort, ui_->typeInteger, ui_->typeLong, ui_->typeReal})
        types_->addButton(type, id++);
    setHint(*ui_->tree, treeHint);
    setHint(*ui_->typeBox, typeHint);
    setHint(*ui_->flagsCumulBox, cumulativeHint);
    setHint(*ui_->flagsSavedOnChangeBox, savedOnChangeHint);
    setHint(*ui_->multiplierBox, multiplierHint);
    setHint(*ui_->unitsBox, unitsHint);
    // The chosen value stays marked while the user works on the other controls.
    QPalette palette = ui_->tree->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    ui_->tree->setPalette(palette);
    connect(ui_->tree, &QTreeWidget::itemSelectionChanged, this, &tNewLogWizard::treeChange);
    connect(ui_->multiplierBox, &QLineEdit::textChanged, this, &tNewLogWizard::updateOkBtn);
    connect(ui_->okBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void tNewLogWizard::buildTree() {
    for (const tIniFileNode& file :
         readIniTree(sources_.ini, sources_.listing, sources_.configFolder)) {
        auto* fileNode = new QTreeWidgetItem(ui_->tree, {QString::fromStdString(file.name)});
        for (const tIniSectionNode& section : file.sections) {
            QTreeWidgetItem* sectionNode = addNode(fileNode, section.name);
            for (const tIniKeyNode& key : section.keys)
                addNode(sectionNode, key.caption());
        }
    }
    addSpecialLogs();
}

QTreeWidgetItem* tNewLogWizard::addSpecialLogs() {
    auto* special = new QTreeWidgetItem(ui_->tree, {QStringLiteral("- Special logs -")});
    QTreeWidgetItem* file = addNode(special, "onlinesig.dat");
    queuedClientsNode_ = addNode(
        file, std::string(queuedClientsName) + " = " +
                  queuedClientsText(sources_.ini, sources_.configFolder, sources_.configBase));
    return special;
}

// Only the edited log's own value is shown: its type and source are fixed.
void tNewLogWizard::buildEditTree(const tLogFile& edited) {
    QTreeWidgetItem* top = nullptr;
    QTreeWidgetItem* key = nullptr;
    if (edited.kind() == tLogKind::queuedClients) {
        top = addSpecialLogs();
        key = queuedClientsNode_;
    } else {
        const std::string file = edited.iniFileName();
        const std::string value =
            sources_.ini.read(sources_.configFolder + file, edited.iniSection(), edited.iniKey())
                .value_or(std::string());
        top = new QTreeWidgetItem(ui_->tree, {QString::fromStdString(file)});
        key = addNode(addNode(top, edited.iniSection()), edited.iniKey() + " = " + value);
    }
    ui_->tree->expandAll();
    ui_->tree->setCurrentItem(key);
}

void tNewLogWizard::showEditedProperties(const tLogFile& edited) {
    setValueType(edited.valueType());
    ui_->typeBox->setEnabled(false);
    ui_->flagsSavedOnChangeBox->setEnabled(false);
    ui_->flagsCumulBox->setChecked((edited.flags() & flagCumulative) != 0);
    ui_->flagsSavedOnChangeBox->setChecked((edited.flags() & flagSavedWhenChanged) != 0);
    ui_->flagsShowWithRequestsBox->setChecked((edited.flags() & flagShowWithRequests) != 0);
    ui_->flagsCumulBox->setEnabled(edited.kind() == tLogKind::iniValue);
    editedMultiplier_ = edited.multiplier();
    shownMultiplier_ =
        QString::fromStdString(formatNumber(edited.multiplier(), localDecimalSeparator()));
    ui_->multiplierBox->setText(shownMultiplier_);
    ui_->unitsBox->setText(QString::fromStdString(edited.units()));
}

QTreeWidgetItem* tNewLogWizard::selectedKeyNode() const {
    const QList<QTreeWidgetItem*> selected = ui_->tree->selectedItems();
    if (selected.isEmpty() || depthOf(selected.front()) != keyDepth)
        return nullptr;
    return selected.front();
}

std::optional<std::string> tNewLogWizard::chosenName(const QTreeWidgetItem& keyNode) const {
    if (&keyNode == queuedClientsNode_)
        return std::string(queuedClientsName);
    const QTreeWidgetItem* section = keyNode.parent();
    return iniLogNameFor(textOf(section->parent()), textOf(section),
                         keyOfCaption(textOf(&keyNode)));
}

bool tNewLogWizard::logExists(const std::string& name) {
    if (name != checkedName_) {
        checkedName_ = name;
        checkedNameExists_ = logExistsInAnyState(sources_.logsFolder, name);
    }
    return checkedNameExists_;
}

// The status line says what keeps Ok disabled.
bool tNewLogWizard::validate() {
    bool valid = true;
    QString reason;
    if (!editedName_.empty()) {
        logName_ = editedName_;
    } else {
        const QTreeWidgetItem* node = selectedKeyNode();
        const std::optional<std::string> name = node ? chosenName(*node) : std::nullopt;
        if (!name) {
            ui_->statusLabel->setText(QStringLiteral("Choose a value in the eMule ini files."));
            return false;
        }
        logName_ = *name;
        valid = !logExists(logName_);
        if (!valid)
            reason = QStringLiteral("This value has a log already.");
    }
    if (valid && std::isnan(multiplier())) {
        valid = false;
        reason = QStringLiteral("Multiplier: numbers joined by * and /, not 0, such as 1/1024.");
    }
    ui_->statusLabel->setText(reason);
    valueType_ = shownValueType();
    flags_ = static_cast<std::uint8_t>(
        (ui_->flagsCumulBox->isChecked() ? flagCumulative : 0) |
        (ui_->flagsSavedOnChangeBox->isChecked() ? flagSavedWhenChanged : 0) |
        (ui_->flagsShowWithRequestsBox->isChecked() ? flagShowWithRequests : 0));
    units_ = ui_->unitsBox->text().toStdString();
    return valid;
}

double tNewLogWizard::multiplier() const {
    const std::string text = ui_->multiplierBox->text().toStdString();
    if (editedName_.empty())
        return getMultiplier(text, localDecimalSeparator());
    return editedMultiplier(text, shownMultiplier_.toStdString(), editedMultiplier_,
                            localDecimalSeparator());
}

void tNewLogWizard::updateOkBtn() {
    ui_->okBtn->setEnabled(validate());
}

void tNewLogWizard::treeChange() {
    updateOkBtn();
    const QTreeWidgetItem* node = selectedKeyNode();
    // An edited log keeps its own type and flags: only its own value is in
    // the tree.
    if (!node || !editedName_.empty())
        return;
    if (node->text(0).contains(QLatin1Char('.')))
        setValueType(valueTypeReal);
    else if (shownValueType() == valueTypeReal)
        setValueType(valueTypeLong);
    const bool queuedClients = node == queuedClientsNode_;
    ui_->flagsSavedOnChangeBox->setChecked(
        !queuedClients && !iequals(textOf(node->parent()->parent()), "statistics.ini"));
    if (queuedClients) {
        setValueType(valueTypeInteger);
        ui_->flagsCumulBox->setChecked(false);
        ui_->flagsSavedOnChangeBox->setChecked(false);
    }
    ui_->typeBox->setEnabled(!queuedClients);
    ui_->flagsCumulBox->setEnabled(!queuedClients);
    ui_->flagsSavedOnChangeBox->setEnabled(!queuedClients);
}

void tNewLogWizard::setValueType(std::uint8_t valueType) {
    if (QAbstractButton* button = types_->button(valueType - 1))
        button->setChecked(true);
}

std::uint8_t tNewLogWizard::shownValueType() const {
    return static_cast<std::uint8_t>(types_->checkedId() + 1);
}

void tNewLogWizard::done(int result) {
    if (result != QDialog::Rejected) {
        // The folder is looked at afresh: a log created meanwhile must not be
        // replaced by an empty one.
        checkedName_.clear();
        if (!validate())
            return;
    }
    QDialog::done(result);
}

} // namespace pln
