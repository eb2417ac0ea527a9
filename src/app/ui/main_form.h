#pragma once

#include "app/core/known_files_table.h"
#include "app/ui/known_met_edit_command.h"
#include "app/ui/main_actions.h"
#include "app/ui/repair_command.h"
#include "app/ui/session.h"

#include <QMainWindow>
#include <memory>

class QDockWidget;
class QLabel;
class QPlainTextEdit;
class QSplitter;
class QTabWidget;

namespace pln {

class tActionRefresh;
class tCompressCommand;
class tGraphsPanel;
struct tGraphsContext;
class tHelpCommand;
class tIdleWork;
class tKnownFilesList;
class tLinkCommands;
class tLoadCycleQt;
class tListView;
class tStatsLogsList;

// The viewer's one window: it places the lists, the graphs and the tags, and
// handles the window's own events. The session it holds for the life of the
// process owns the process-wide objects; members are declared in the order
// they are created, so they are destroyed in the opposite order.
class tMainForm : public QMainWindow {
    Q_OBJECT

public:
    // Null when another viewer already serves this eMule configuration (or
    // its mark is not accessible): the program then ends without a word,
    // before any window appears, once it has asked that viewer to come to
    // the front.
    static std::unique_ptr<tMainForm> create(Platform& platform, Prompter& prompter,
                                             tLocations locations);
    ~tMainForm() override;

    tSession& session() { return session_; }
    const tMainActions& actions() const { return actions_; }
    tKnownFilesList& knownFilesList() { return *knownFiles_; }
    tStatsLogsList& statsLogsList() { return *statsLogs_; }
    tGraphsPanel& graphs() { return *graphs_; }
    tKnownMetEditCommand& knownMetEdit() { return *knownMetEdit_; }
    tRepairCommand& repair() { return *repair_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    tMainForm(Platform& platform, Prompter& prompter, std::unique_ptr<NamedMutex> viewerMutex,
              tLocations locations);

    tGraphsContext graphsContext();
    void connectGraphs();
    void buildLayout();
    QWidget* buildStatsPage();
    void buildLegend(QWidget& page);
    void connectActions();
    void createLinkCommands();

    void formResize();
    void topPanelResize();
    void applyLegendWidth();
    void legendFloatingChanged(bool floating);
    void setLegendFeatures(bool floating);
    bool legendCloseRequested();

    tSession session_;
    tIdleWork* idleWork_ = nullptr;
    tActionRefresh* refresh_ = nullptr;
    tCompressCommand* compress_ = nullptr;
    tRepairCommand* repair_ = nullptr;
    // A closing window lets its floating legend close with it.
    bool closing_ = false;

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
    tLoadCycleQt* loadCycle_ = nullptr;
    tLinkCommands* links_ = nullptr;
    tHelpCommand* help_ = nullptr;
    // The legend's docked width and the graphs' narrowest width, from the
    // design; the graphs splitter returns to them when the legend docks.
    int legendWidth_ = 0;
    // The docked legend's width as last dragged; narrow pages take from it.
    int legendWanted_ = 0;
    // The user dragged the lists out of sight; they stay hidden on resizing
    // until dragged open again.
    bool listsCollapsed_ = false;
    int graphsMinimum_ = 0;
};

} // namespace pln
