#pragma once

#include "platform/file_listing.h"
#include "platform/ini_profile.h"

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QButtonGroup;
class QTreeWidgetItem;

namespace Ui {
class tNewLogWizard;
}

namespace pln {

class tLogFile;

// Where the wizard finds eMule's values and the existing logs. Folders end
// with a separator.
struct tNewLogSources {
    IniProfile& ini;
    FileListing& listing;
    std::string configFolder;
    std::string configBase;
    std::string logsFolder;
};

// Picks a numeric value of eMule's INI files, or the queued-clients count,
// with the type, flags, multiplier and units of its new log; opened on an
// existing stats or queued-clients log, it edits that log's flags,
// multiplier and units.
class tNewLogWizard : public QDialog {
    Q_OBJECT

public:
    // New-log mode.
    tNewLogWizard(QWidget* parent, tNewLogSources sources);
    // Edit mode.
    tNewLogWizard(QWidget* parent, tNewLogSources sources, const tLogFile& edited);
    ~tNewLogWizard() override;

    // Whether the dialog may be confirmed; fills the result fields below
    // whenever the chosen value is acceptable.
    bool validate();
    const std::string& logName() const { return logName_; }
    std::uint8_t valueType() const { return valueType_; }
    std::uint8_t flags() const { return flags_; }
    const std::string& units() const { return units_; }
    double multiplier() const;

    // FormCloseQuery: only Cancel closes while validate fails.
    void done(int result) override;

private:
    explicit tNewLogWizard(QWidget* parent, tNewLogSources sources, const tLogFile* edited);
    void setUpControls();
    void buildTree();
    void buildEditTree(const tLogFile& edited);
    QTreeWidgetItem* addSpecialLogs();
    void showEditedProperties(const tLogFile& edited);
    void treeChange();
    void updateOkBtn();
    QTreeWidgetItem* selectedKeyNode() const;
    std::optional<std::string> chosenName(const QTreeWidgetItem& keyNode) const;
    bool logExists(const std::string& name);
    void setValueType(std::uint8_t valueType);
    std::uint8_t shownValueType() const;

    std::unique_ptr<Ui::tNewLogWizard> ui_;
    QButtonGroup* types_;
    tNewLogSources sources_;
    // The name of the edited log, empty in new-log mode. Only the name is
    // kept: a reload of the catalogue while the dialog is open replaces the
    // log objects.
    std::string editedName_;
    // The edited log's multiplier and its shown text: "%g" rounds it, and a
    // text left as shown keeps the exact value.
    double editedMultiplier_ = 1.0;
    QString shownMultiplier_;
    QTreeWidgetItem* queuedClientsNode_ = nullptr;
    // The last name looked up in the logs folder, so that typing in the
    // multiplier does not list the folder at every key.
    std::string checkedName_;
    bool checkedNameExists_ = false;

    std::string logName_;
    std::uint8_t valueType_ = 0;
    std::uint8_t flags_ = 0;
    std::string units_;
};

} // namespace pln
