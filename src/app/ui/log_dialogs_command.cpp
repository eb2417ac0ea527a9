#include "app/ui/log_dialogs_command.h"

#include "app/ui/list_view.h"
#include "app/ui/stats_logs_list.h"
#include "common/missing_value.h"
#include "logstore/core/log_names.h"
#include "logstore/ui/combine_form.h"

#include <QAction>
#include <QItemSelectionModel>

namespace pln {

tLogDialogsCommand::tLogDialogsCommand(QWidget& window, const tMainActions& actions,
                                       tActionRefresh& refresh, tLogFiles& logs,
                                       tRecorderLink& recorder, tStatsLogsList& list,
                                       tNewLogSources sources)
    : QObject(&window), window_(window), logs_(logs), recorder_(recorder), list_(list),
      sources_(std::move(sources)) {
    connect(actions.aIniNewLog, &QAction::triggered, this, &tLogDialogsCommand::newLog);
    connect(actions.aIniEditLog, &QAction::triggered, this, &tLogDialogsCommand::editLog);
    connect(actions.aIniCombine, &QAction::triggered, this, &tLogDialogsCommand::combine);
    connect(&list_.view(), &QAbstractItemView::doubleClicked, this, [edit = actions.aIniEditLog] {
        if (edit->isEnabled())
            edit->trigger();
    });
    connect(&refresh, &tActionRefresh::due, this,
            [this, newLog = actions.aIniNewLog, edit = actions.aIniEditLog,
             combine = actions.aIniCombine] {
                newLog->setEnabled(true);
                edit->setEnabled(canEditLog());
                combine->setEnabled(canCombine());
            });
}

std::vector<tLogFile*> tLogDialogsCommand::selectedLogs() const {
    std::vector<tLogFile*> logs;
    for (std::size_t position : list_.selectedPositions())
        if (tLogFile* log = list_.model().logAt(static_cast<int>(position)))
            logs.push_back(log);
    return logs;
}

bool tLogDialogsCommand::canEditLog() const {
    return selectedLogs().size() == 1;
}

bool tLogDialogsCommand::canCombine() const {
    const std::vector<tLogFile*> logs = selectedLogs();
    return logs.size() == 2 && logs[0]->kind() != tLogKind::virtualLog &&
           logs[1]->kind() != tLogKind::virtualLog;
}

void tLogDialogsCommand::newLog() {
    tNewLogWizard wizard(&window_, sources_);
    if (wizard.exec() != QDialog::Accepted)
        return;
    if (!logs_.createLogFile(
            wizard.logName(), tLogState::active,
            {wizard.valueType(), wizard.flags(), wizard.multiplier(), wizard.units()}))
        return;
    catalogue(wizard.logName());
    recorder_.broadcastNewLogs();
}

void tLogDialogsCommand::editLog() {
    const std::vector<tLogFile*> logs = selectedLogs();
    if (logs.size() != 1)
        return;
    if (logs[0]->kind() == tLogKind::virtualLog)
        editCombined(*logs[0]);
    else
        editProperties(*logs[0]);
}

// The load cycle may rescan the catalogue while a dialog is open, which
// replaces every log object: after a dialog, logs are looked up again by name.

void tLogDialogsCommand::editProperties(const tLogFile& edited) {
    // A copy: the name outlives the log object.
    const std::string name = edited.name(); // NOLINT(performance-unnecessary-copy-initialization)
    tNewLogWizard wizard(&window_, sources_, edited);
    if (wizard.exec() != QDialog::Accepted)
        return;
    if (tLogFile* log = logs_.findLog(name))
        log->updateProperties(wizard.flags(), wizard.units(), wizard.multiplier(),
                              tLogOperation::sum, missingValue());
    showLog(name);
}

void tLogDialogsCommand::editCombined(const tLogFile& edited) {
    std::string name = edited.name();
    tCombineForm form(&window_, sources_.logsFolder);
    form.setEditedLog(edited);
    if (form.exec() != QDialog::Accepted)
        return;
    const std::string newName = std::string(virtualPrefix) + form.title();
    // A refused rename leaves the log its old name; the properties still go
    // to it.
    if (logs_.renameLog(name, newName))
        name = newName;
    if (tLogFile* log = logs_.findLog(name))
        log->updateProperties(form.flags(), form.units(), form.multiplier(), form.operation(),
                              form.maxValue());
    showLog(name);
}

void tLogDialogsCommand::combine() {
    const std::vector<tLogFile*> sources = selectedLogs();
    if (sources.size() != 2)
        return;
    const std::array<std::string, 2> sourceNames = {sources[0]->name(), sources[1]->name()};
    tCombineForm form(&window_, sources_.logsFolder);
    form.setSource(0, *sources[0]);
    form.setSource(1, *sources[1]);
    if (form.exec() != QDialog::Accepted)
        return;
    const std::string name = std::string(virtualPrefix) + form.title();
    if (logs_.createLogFile(name, tLogState::active,
                            {valueTypeReal, form.flags(), form.multiplier(), form.units()},
                            {form.operation(), sourceNames, form.maxValue()}))
        catalogue(name);
}

void tLogDialogsCommand::catalogue(const std::string& name) {
    auto log = std::make_unique<tLogFile>(logs_.context(), name);
    if (log->valueType() != 0)
        logs_.add(std::move(log));
    showLog(name);
}

void tLogDialogsCommand::showLog(const std::string& name) {
    list_.logFilesLoaded();
    const tLogFile* log = logs_.findLog(name);
    tStatsLogsModel& model = list_.model();
    tListView& view = list_.view();
    for (int row = 0; log && row < model.rowCount(); ++row) {
        if (model.logAt(row) != log)
            continue;
        const QModelIndex index = model.index(row, 0);
        view.selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                          QItemSelectionModel::Rows);
        view.scrollTo(index);
        view.setFocus();
        return;
    }
}

} // namespace pln
