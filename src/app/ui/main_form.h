#pragma once

#include "app/core/idle_flags.h"
#include "app/core/known_files_table.h"
#include "app/core/locations.h"
#include "app/core/process_values.h"
#include "app/ui/compress_command.h"
#include "app/ui/known_met_edit_command.h"
#include "app/ui/log_dialogs_command.h"
#include "app/ui/main_actions.h"
#include "app/ui/recorder_link_qt.h"
#include "app/ui/repair_command.h"
#include "common/prompter.h"
#include "emulefiles/core/known_met.h"
#include "emulefiles/core/shared_folders.h"
#include "logstore/core/log_files.h"
#include "platform/platform.h"

#include <QMainWindow>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QDockWidget;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QTabWidget;

namespace pln {

class tGraphsPanel;
class tKnownFilesList;
struct tLinkRow;
class tListView;
class tStatsLogsList;

// The viewer's one window. It owns the process-wide objects for the life of
// the process; members are declared in the order they are created, so they
// are destroyed in the opposite order.
class tMainForm : public QMainWindow {
    Q_OBJECT

public:
    // Null when another viewer already serves this eMule configuration (or
    // its mark is not accessible): the program then ends without a word,
    // before any window appears, once it has asked that viewer to come to
    // the front.
    static std::unique_ptr<tMainForm> create(Platform& platform, Prompter& prompter,
                                             tLocations locations, std::uint16_t windowsVersion);
    ~tMainForm() override;

    tProcessValues& values() { return values_; }
    tKnownMet& knownMet() { return *knownMet_; }
    tSharedFolders& sharedFolders() { return *sharedFolders_; }
    tLogFiles& logFiles() { return *logFiles_; }
    tRecorderLinkQt& recorder() { return *recorder_; }
    Prompter& prompter() { return prompter_; }
    tIdleFlags& idleFlags() { return idle_; }
    const tMainActions& actions() const { return actions_; }
    tKnownFilesList& knownFilesList() { return *knownFiles_; }
    tStatsLogsList& statsLogsList() { return *statsLogs_; }
    tGraphsPanel& graphs() { return *graphs_; }
    tKnownMetEditCommand& knownMetEdit() { return *knownMetEdit_; }
    tRepairCommand& repair() { return *repair_; }

    std::string getIniString(const std::string& key, const std::string& defaultValue) const {
        return values_.settings.getIniString(key, defaultValue);
    }
    void setIniString(const std::string& key, const std::string& value) {
        values_.settings.setIniString(key, value);
    }
    int getIniInt(const std::string& key, int defaultValue) const {
        return values_.settings.getIniInt(key, defaultValue);
    }
    void setIniInt(const std::string& key, int value) { values_.settings.setIniInt(key, value); }

    // Arms the load cycle for the next event-loop turn.
    void armLoadCycle();
    // Schedules appEventsIdle for when the pending events have been handled.
    void requestIdle();
    tKnownFilesFilter knownFilesFilter() const;

    void aHlpTipsExecute();
    void aHlpBugsExecute();
    void aCreditsExecute();

signals:
    // Served at idle time: the graphs and the cursor read-out follow the
    // lists' selection.
    void drawGraphicsRequested();
    void readoutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    tMainForm(Platform& platform, Prompter& prompter, std::unique_ptr<NamedMutex> viewerMutex,
              tLocations locations, std::uint16_t windowsVersion);

    void buildLayout();
    QWidget* buildStatsPage();
    void buildLegend(QWidget& page);
    void connectActions();
    void updateActions();
    void connectLinkActions();
    std::vector<tLinkRow> selectedLinkRows();
    void buildWebServices(QMenu& submenu);

    void timerTimer();
    void serveHeldWork();
    bool loadCycle(std::string& failure);
    bool refillKnownFiles(std::string& failure);
    void appEventsIdle();
    void showTags();
    void runHelp(bool tipsFirst);

    void formResize();
    void topPanelResize();
    void applyLegendWidth();
    void legendFloatingChanged(bool floating);
    void setLegendFeatures(bool floating);
    bool legendCloseRequested();

    Platform& platform_;
    Prompter& prompter_;
    std::unique_ptr<NamedMutex> viewerMutex_;
    tProcessValues values_;
    // Outlives the catalogue and known.met: their work may still announce
    // logs or ask for a suspension while they go.
    std::unique_ptr<tRecorderLinkQt> recorder_;
    std::unique_ptr<tKnownMet> knownMet_;
    std::unique_ptr<tSharedFolders> sharedFolders_;
    std::unique_ptr<tLogFiles> logFiles_;
    std::unique_ptr<tCompressCommand> compress_;
    std::unique_ptr<tRepairCommand> repair_;
    std::unique_ptr<tLogDialogsCommand> logDialogs_;
    tIdleFlags idle_;
    bool closing_ = false;
    // A load cycle came due while a task or its dialog held the link.
    bool loadHeld_ = false;

    tMainActions actions_;
    QSplitter* mainSplitter_ = nullptr;
    QWidget* topPanel_ = nullptr;
    QSplitter* listsSplitter_ = nullptr;
    tListView* knownFilesView_ = nullptr;
    tListView* statsView_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QWidget* statsTab_ = nullptr;
    QSplitter* graphsSplitter_ = nullptr;
    QMainWindow* legendPanel_ = nullptr;
    QDockWidget* legendDock_ = nullptr;
    QPlainTextEdit* tagsBox_ = nullptr;
    QLabel* failureLabel_ = nullptr;
    tKnownFilesList* knownFiles_ = nullptr;
    tKnownMetEditCommand* knownMetEdit_ = nullptr;
    tStatsLogsList* statsLogs_ = nullptr;
    tGraphsPanel* graphs_ = nullptr;
    // The legend's docked width and the graphs' narrowest width, from the
    // design; the graphs splitter returns to them when the legend docks.
    int legendWidth_ = 0;
    // The docked legend's width as last dragged; narrow pages take from it.
    int legendWanted_ = 0;
    // The user dragged the lists out of sight; they stay hidden on resizing
    // until dragged open again.
    bool listsCollapsed_ = false;
    int graphsMinimum_ = 0;
    // Where the last collection of links was saved, for the next one.
    QString linksFolder_;

    QTimer timer_;
    QTimer idleTimer_;
};

} // namespace pln
