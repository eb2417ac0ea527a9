#include "app/ui/main_form.h"

#include "app/core/startup.h"
#include "app/ui/action_refresh.h"
#include "app/ui/busy_cursor.h"
#include "app/ui/compress_command.h"
#include "app/ui/errors_log_form.h"
#include "app/ui/graph_selection.h"
#include "app/ui/graphs_panel.h"
#include "app/ui/help_command.h"
#include "app/ui/idle_work.h"
#include "app/ui/known_files_list.h"
#include "app/ui/list_view.h"
#include "app/ui/load_cycle_qt.h"
#include "app/ui/local_text.h"
#include "app/ui/log_dialogs_command.h"
#include "app/ui/repair_command.h"
#include "app/ui/stats_logs_list.h"
#include "app/ui/tags_view.h"
#include "graphs/core/events_log.h"
#include "links/core/web_services.h"
#include "links/ui/link_commands.h"
#include "platform/message_bus.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTabWidget>

namespace pln {

namespace {

constexpr int designWidth = 696;
constexpr int designHeight = 480;

} // namespace

std::unique_ptr<tMainForm> tMainForm::create(Platform& platform, Prompter& prompter,
                                             tLocations locations) {
    auto viewerMutex = claimViewer(platform.mutexes, locations);
    if (!viewerMutex) {
        // The viewer already running comes to the front instead.
        openNativeMessageBus(locations.messagePrefix)
            ->broadcast({registerRecorderMessages(locations.messagePrefix).msgShowViewer, 0, 0});
        return nullptr;
    }
    return std::unique_ptr<tMainForm>(
        new tMainForm(platform, prompter, std::move(viewerMutex), std::move(locations)));
}

tMainForm::tMainForm(Platform& platform, Prompter& prompter,
                     std::unique_ptr<NamedMutex> viewerMutex, tLocations locations)
    : session_(platform, prompter, std::move(viewerMutex), std::move(locations), *this) {
    setWindowTitle(QString::fromStdString("PLN - " + session_.locations().eMuleConfigFolder));
    actions_ = createMainActions(*this);
    // A drawing would read the logs a task rewrites: it waits for the task.
    idleWork_ = new tIdleWork([this] { return session_.recorder().busy(); }, this);
    refresh_ = new tActionRefresh(this);
    compress_ = new tCompressCommand(
        *this, *actions_.aFileCompressLogs, *refresh_, session_.values(), session_.logFiles(),
        session_.recorder(), session_.platform().clock, [this] { idleWork_->requestRedraw(); });
    session_.setTasks([this] { compress_->compressLogs(); }, [this] { repair_->repairKnownMet(); });
    connect(&session_.recorder(), &tRecorderLinkQt::closeRequested, this, &QWidget::close);
    connect(&session_.recorder(), &tRecorderLinkQt::released, this, [this] {
        loadCycle_->resume();
        idleWork_->resume();
    });
    connect(&session_.recorder(), &tRecorderLinkQt::showRequested, this, [this] {
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        show();
        raise();
        activateWindow();
    });

    graphs_ = new tGraphsPanel(graphsContext(), this);
    buildLayout();
    resize(designWidth, designHeight);
    tabs_->setCurrentIndex(0);

    const tListContext context{session_.logFiles(), session_.prompter(), session_.recorder(),
                               *idleWork_, session_.drawnColours()};
    knownFiles_ = new tKnownFilesList(*knownFilesView_, context, this);
    statsLogs_ = new tStatsLogsList(*statsView_, context, this);
    const tKnownMetEditContext editContext{*this,
                                           session_.platform(),
                                           session_.knownMet(),
                                           session_.logFiles(),
                                           *knownFiles_,
                                           session_.prompter(),
                                           *idleWork_,
                                           session_.locations().eMuleConfigFolder,
                                           [this] { return loadCycle_->armed(); },
                                           [this] { loadCycle_->arm(); },
                                           [this] {
                                               std::string failure;
                                               loadCycle_->refillKnownFiles(failure);
                                           }};
    knownMetEdit_ = new tKnownMetEditCommand(editContext, actions_, *refresh_, this);
    repair_ =
        new tRepairCommand(editContext, *actions_.aRepairKM, *knownMetEdit_, session_.recorder());
    const tLocations& where = session_.locations();
    new tLogDialogsCommand(*this, actions_, *refresh_, session_.logFiles(), session_.recorder(),
                           *statsLogs_,
                           {session_.platform().ini, session_.platform().listing,
                            where.eMuleConfigFolder, where.eMuleConfigBase, where.logsFolder});
    bindErrorsLogAction(*actions_.aFileRecErrorsLog, *refresh_, *this, where.dataFolder,
                        session_.recorder(), session_.prompter());
    loadCycle_ = new tLoadCycleQt(
        {session_.sharedFolders(), session_.knownMet(), session_.logFiles(), *knownFiles_,
         *statsLogs_, session_.platform().clock, [this] { return knownFilesFilter(actions_); }},
        [this] { return session_.recorder().busy(); }, this);
    connect(loadCycle_, &tLoadCycleQt::failed, failureLabel_, &QLabel::setText);
    help_ = new tHelpCommand(*this, actions_, session_);
    connect(loadCycle_, &tLoadCycleQt::loaded, failureLabel_, &QLabel::clear);
    connect(loadCycle_, &tLoadCycleQt::loaded, help_, &tHelpCommand::offerTipsOnce);
    createLinkCommands();
    connectGraphs();
    connectActions();
    refresh_->request();
    // The window sees the keys before the focused control does.
    qApp->installEventFilter(this);
    // The first load runs from the event loop, once the window is up.
    loadCycle_->arm();
}

tMainForm::~tMainForm() {
    closing_ = true;
    refresh_->stop();
    idleWork_->stop();
    qApp->removeEventFilter(this);
    disconnect(qApp, nullptr, this, nullptr);
    // The lists and widgets go while the window is whole, so that the signals
    // they send on their way out find it intact.
    delete graphs_;
    delete knownFiles_;
    delete statsLogs_;
    delete centralWidget();
}

tGraphsContext tMainForm::graphsContext() {
    const tMainActions& a = actions_;
    return {session_.logFiles(),
            session_.knownMet(),
            session_.settings(),
            session_.prompter(),
            eventsLogPath(session_.locations().dataFolder),
            session_.values().pointsPerPixel,
            session_.drawnColours(),
            {*a.aGrEmuleRuntime, *a.aColors, *a.aGraphOptions, *a.aGrSaveImage, *a.aGrSaveData,
             *a.chartPopup},
            [this] { idleWork_->requestRedraw(); },
            [this] { idleWork_->requestReadout(); }};
}

// The graphs draw what the lists select, and the lists show the colours
// the graphs drew them in.
void tMainForm::connectGraphs() {
    connect(idleWork_, &tIdleWork::redrawDue, graphs_, &tGraphsPanel::drawGraphics);
    connect(idleWork_, &tIdleWork::readoutDue, graphs_,
            qOverload<>(&tGraphsPanel::showValuesAtCursor));
    connect(idleWork_, &tIdleWork::tagsDue, this, [this] { showTags(*tagsBox_, *knownFiles_); });
    // The graphs colour the files they draw: the actions may change.
    connect(idleWork_, &tIdleWork::served, refresh_, &tActionRefresh::request);
    connect(knownFiles_, &tKnownFilesList::stateChanged, graphs_,
            [this] { graphs_->setSelection(withFiles(graphs_->selection(), *knownFiles_)); });
    connect(statsLogs_, &tStatsLogsList::stateChanged, graphs_,
            [this] { graphs_->setSelection(withLogs(graphs_->selection(), *statsLogs_)); });
    for (tListView* view : {knownFilesView_, statsView_})
        connect(graphs_, &tGraphsPanel::coloursChanged, view, &tListView::updateColourLines);
}

void tMainForm::connectActions() {
    const tMainActions& a = actions_;
    connect(a.aFileExit, &QAction::triggered, this, &QWidget::close);
    connect(a.aKFReload, &QAction::triggered, loadCycle_, &tLoadCycleQt::arm);
    connect(a.filterGroup, &QActionGroup::triggered, loadCycle_, &tLoadCycleQt::arm);
    knownFiles_->bindActions(a, *refresh_);
    statsLogs_->bindActions(a, *refresh_);
    connect(a.aGrEmuleRuntime, &QAction::triggered, idleWork_, &tIdleWork::requestRedraw);
    connect(a.aNavNextTab, &QAction::triggered, this,
            [this] { tabs_->setCurrentIndex((tabs_->currentIndex() + 1) % tabs_->count()); });
    connect(a.aNavPrevTab, &QAction::triggered, this, [this] {
        tabs_->setCurrentIndex((tabs_->currentIndex() + tabs_->count() - 1) % tabs_->count());
    });
    knownFilesView_->setPopupMenu(a.knownFilesPopup);
    statsView_->setPopupMenu(a.statsPopup);
    connect(knownFiles_, &tKnownFilesList::stateChanged, refresh_, &tActionRefresh::request);
    connect(statsLogs_, &tStatsLogsList::stateChanged, refresh_, &tActionRefresh::request);
    connect(qApp, &QApplication::focusChanged, refresh_, &tActionRefresh::request);
    refresh_->watchMenus({a.fileMenu, a.knownFilesMenu, a.statsMenu, a.graphicsMenu, a.helpMenu,
                          a.knownFilesPopup, a.statsPopup, a.chartPopup});
}

void tMainForm::createLinkCommands() {
    const tMainActions& a = actions_;
    tLinkSources sources{
        [this] {
            // The rows the link exports act on, in list order.
            const tKnownFilesTable& table = knownFiles_->model().table();
            std::vector<tLinkRow> rows;
            for (const std::size_t position : knownFiles_->selectedPositions())
                rows.push_back({table.row(position).record, table.row(position).path});
            return rows;
        },
        [this]() -> const tKnownMetRecord* {
            const std::vector<const tKnownMetRecord*> records = knownFiles_->selectedRecords();
            return records.empty() ? nullptr : records.front();
        },
        [this] { return session_.knownMet().list() != nullptr; }, session_.settings(),
        session_.locations().eMuleConfigFolder + webServicesFileName};
    links_ = new tLinkCommands(*this, std::move(sources),
                               {*a.aKFSaveAsCollection, *a.aKFCopyAsCollection,
                                *a.aKFCopyAsHtmlCollection, *a.aKFCopyFormat, *a.knownFilesMenu,
                                *a.webServicesMenu, *a.knownFilesPopup, *a.webServicesPopup},
                               session_.prompter());
    connect(refresh_, &tActionRefresh::due, links_, &tLinkCommands::updateActions);
}

void tMainForm::closeEvent(QCloseEvent* event) {
    closing_ = true;
    refresh_->stop();
    idleWork_->stop();
    QMainWindow::closeEvent(event);
}

bool tMainForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (type == QEvent::KeyPress && key->key() == Qt::Key_Space &&
            key->modifiers() == Qt::AltModifier)
            return true;
        if (key->key() == Qt::Key_Shift || key->key() == Qt::Key_Control)
            idleWork_->requestReadout();
    }
    if (watched == legendDock_ && type == QEvent::Close && legendCloseRequested()) {
        event->ignore();
        return true;
    }
    if (type == QEvent::Resize) {
        // The splitters place their panes after this event; the rules apply
        // to the sizes they give them.
        if (watched == mainSplitter_)
            QMetaObject::invokeMethod(this, &tMainForm::formResize, Qt::QueuedConnection);
        else if (watched == topPanel_)
            topPanelResize();
        else if (watched == graphsSplitter_)
            QMetaObject::invokeMethod(this, &tMainForm::applyLegendWidth, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace pln
