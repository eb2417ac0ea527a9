#pragma once

#include "common/prompter.h"
#include "kmedit/core/repair_km.h"
#include "kmedit/ui/confirm_km_edit_form.h"

#include <QDialog>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace Ui {
class tRepairKMForm;
}

namespace pln {

// What the repair dialog needs from the window that opens it.
struct tRepairKMFormContext {
    std::string knownMetPath;
    Prompter& prompter;
    bool knownMetBackedUp = false;
    // The backup button's command.
    tBackupMet backup;
    // Why Ok may not close now (eMule running, known.met changed), or nothing.
    std::function<std::optional<std::string>()> refusal;
};

// The repair dialog: five operations, each explained in the help box while
// it (or its companion control) has the focus. An operation that needs
// input is offered only once its input is usable: a backup copy that is not
// known.met, a links box that holds only valid ed2k links.
class tRepairKMForm : public QDialog {
    Q_OBJECT

public:
    tRepairKMForm(QWidget* parent, tRepairKMFormContext context);
    ~tRepairKMForm() override;

    // The operations checked when the user pressed Ok.
    tRepairOptions options() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void aSelectKMBackupExecute();
    void backupChosen(const QString& path);
    void aBackupKMExecute();
    void ed2kLinksBoxChange();
    void recalculateStatsBoxClick();
    void okButtonClick();
    void setHelp(QWidget* control, const char* text);

    std::unique_ptr<Ui::tRepairKMForm> ui_;
    tRepairKMFormContext context_;
    std::string backupPath_;
    std::map<QObject*, QString> help_;
};

} // namespace pln
