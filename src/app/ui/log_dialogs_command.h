#pragma once

#include "app/ui/action_refresh.h"
#include "app/ui/main_actions.h"
#include "logstore/core/log_files.h"
#include "logstore/core/recorder_link.h"
#include "logstore/ui/new_log_wizard.h"

#include <QObject>

class QWidget;

namespace pln {

class tStatsLogsList;

// The commands that create and change logs through their dialogs: a new log
// of an INI value or of the queued-clients count, the properties of a log,
// and a combined log of two others. After each, the stats logs list is
// refilled with the log selected.
class tLogDialogsCommand : public QObject {
public:
    // Runs on the new log, properties and combine actions (properties also on
    // a double click in the list) and enables them on each refresh.
    tLogDialogsCommand(QWidget& window, const tMainActions& actions, tActionRefresh& refresh,
                       tLogFiles& logs, tRecorderLink& recorder, tStatsLogsList& list,
                       tNewLogSources sources);

    // aIniNewLog.
    void newLog();
    // aIniEditLog: the combine dialog for a combined log, the wizard for
    // any other.
    void editLog();
    // aIniCombine: the first selected log in list order is the first source.
    void combine();

private:
    // aIniEditLog: exactly one log selected.
    bool canEditLog() const;
    // aIniCombine: two logs selected, neither of them combined.
    bool canCombine() const;
    std::vector<tLogFile*> selectedLogs() const;
    void editProperties(const tLogFile& edited);
    void editCombined(const tLogFile& edited);
    // Catalogues the log just written (when it is usable) and shows it.
    void catalogue(const std::string& name);
    void showLog(const std::string& name);

    QWidget& window_;
    tLogFiles& logs_;
    tRecorderLink& recorder_;
    tStatsLogsList& list_;
    tNewLogSources sources_;
};

} // namespace pln
