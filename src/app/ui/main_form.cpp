#include "app/ui/main_form.h"

#include "app/core/help_texts.h"
#include "app/core/load_cycle.h"
#include "app/core/shared_lookup.h"
#include "app/core/startup.h"
#include "app/core/tags_text.h"
#include "app/ui/bugs_form.h"
#include "app/ui/busy_cursor.h"
#include "app/ui/credits_form.h"
#include "app/ui/errors_log_form.h"
#include "app/ui/graphs_panel.h"
#include "app/ui/known_files_list.h"
#include "app/ui/list_view.h"
#include "app/ui/local_text.h"
#include "app/ui/stats_logs_list.h"
#include "app/ui/tips_form.h"
#include "graphs/core/events_log.h"
#include "links/core/link_exports.h"
#include "links/core/links_collection.h"
#include "links/core/web_services.h"
#include "links/ui/link_actions.h"
#include "links/ui/web_services_menu.h"
#include "logstore/core/conn_run_time.h"
#include "logstore/core/default_logs.h"
#include "platform/message_bus.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTabWidget>
#include <random>

namespace pln {

namespace {

constexpr int designWidth = 696;
constexpr int designHeight = 480;

// The process's own generator, never seeded by the viewer: the first tip
// follows the same sequence at every start, as the help always has.
std::size_t randomTip(std::size_t count) {
    static std::mt19937 generator;
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(generator);
}

tNumberFormat userNumbers() {
    return {[](std::uint64_t n) {
                return QLocale::system().toString(static_cast<qulonglong>(n)).toStdString();
            },
            [](double d) {
                QLocale locale = QLocale::system();
                locale.setNumberOptions(QLocale::OmitGroupSeparator);
                return locale.toString(d, 'g', 15).toStdString();
            }};
}

} // namespace

std::unique_ptr<tMainForm> tMainForm::create(Platform& platform, Prompter& prompter,
                                             tLocations locations, std::uint16_t windowsVersion) {
    auto viewerMutex = claimViewer(platform.mutexes, locations);
    if (!viewerMutex) {
        // The viewer already running comes to the front instead.
        openNativeMessageBus(locations.messagePrefix)
            ->broadcast({registerRecorderMessages(locations.messagePrefix).msgShowViewer, 0, 0});
        return nullptr;
    }
    return std::unique_ptr<tMainForm>(new tMainForm(platform, prompter, std::move(viewerMutex),
                                                    std::move(locations), windowsVersion));
}

tMainForm::tMainForm(Platform& platform, Prompter& prompter,
                     std::unique_ptr<NamedMutex> viewerMutex, tLocations locations,
                     std::uint16_t windowsVersion)
    : platform_(platform), prompter_(prompter), viewerMutex_(std::move(viewerMutex)),
      values_(std::move(locations), windowsVersion, platform.ini), timer_(this), idleTimer_(this) {
    ensureRecorderRunning(platform_.mutexes, platform_.processes, values_.locations);

    setWindowTitle(QString::fromStdString("PLN - " + values_.locations.eMuleConfigFolder));
    actions_ = createMainActions(*this);
    buildLayout();
    resize(designWidth, designHeight);
    tabs_->setCurrentIndex(0);

    ensureLastCompressDate(values_.settings, platform_.clock, localDateTimeText);
    values_.readSettings();

    knownMet_ = std::make_unique<tKnownMet>(values_.locations.eMuleConfigFolder + "known.met",
                                            platform_.files, platform_.clock);
    sharedFolders_ = std::make_unique<tSharedFolders>(
        platform_.files, platform_.clock, platform_.ini, platform_.listing,
        values_.locations.eMuleConfigFolder, platform_.system.pathSeparator());
    // The default logs of a first start are announced to the recorder.
    recorder_ = std::make_unique<tRecorderLinkQt>(
        openNativeMessageBus(values_.locations.messagePrefix), values_.locations, platform_.mutexes,
        prompter_, std::chrono::seconds(10), this);
    logFiles_ = std::make_unique<tLogFiles>(
        tLogStoreContext{values_.locations.logsFolder, prompter_, *recorder_, &platform_.clock});
    // A known file whose log goes takes its special events with it.
    logFiles_->onKnownFileLogDeleted(
        eventsLogCleaner(eventsLogPath(values_.locations.dataFolder), prompter_));
    createDefaultLogs(*logFiles_);
    compress_ = std::make_unique<tCompressCommand>(*this, values_, *logFiles_, *recorder_,
                                                   platform_.clock, [this] {
                                                       idle_.redrawPending = true;
                                                       requestIdle();
                                                   });
    recorder_->setTasks({[this] { compress_->compressLogs(); },
                         [this] { writeBackConnRunTime(*logFiles_); },
                         [this] { repair_->repairKnownMet(); }});
    connect(recorder_.get(), &tRecorderLinkQt::closeRequested, this, &QWidget::close);
    connect(recorder_.get(), &tRecorderLinkQt::released, this, &tMainForm::serveHeldWork);
    connect(recorder_.get(), &tRecorderLinkQt::showRequested, this, [this] {
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        show();
        raise();
        activateWindow();
    });

    const tListContext context{*logFiles_, prompter_, *recorder_, idle_, [this] { requestIdle(); }};
    knownFiles_ = new tKnownFilesList(*knownFilesView_, context, this);
    statsLogs_ = new tStatsLogsList(*statsView_, context, this);
    const tKnownMetEditContext editContext{*this,
                                           platform_,
                                           *knownMet_,
                                           *logFiles_,
                                           *knownFiles_,
                                           prompter_,
                                           idle_,
                                           values_.locations.eMuleConfigFolder,
                                           [this] { return timer_.isActive(); },
                                           [this] { armLoadCycle(); },
                                           [this] {
                                               std::string failure;
                                               refillKnownFiles(failure);
                                           },
                                           [this] { requestIdle(); }};
    knownMetEdit_ = new tKnownMetEditCommand(editContext, actions_, this);
    repair_ = std::make_unique<tRepairCommand>(editContext, *knownMetEdit_, *recorder_);
    logDialogs_ = std::make_unique<tLogDialogsCommand>(
        *this, *logFiles_, *recorder_, *statsLogs_,
        tNewLogSources{platform_.ini, platform_.listing, values_.locations.eMuleConfigFolder,
                       values_.locations.eMuleConfigBase, values_.locations.logsFolder});
    connectActions();
    updateActions();
    graphs_ = new tGraphsPanel(*this);
    // The window sees the keys before the focused control does.
    qApp->installEventFilter(this);

    idleTimer_.setObjectName(QStringLiteral("idleTimer"));
    idleTimer_.setSingleShot(true);
    connect(&idleTimer_, &QTimer::timeout, this, &tMainForm::appEventsIdle);

    // The first load runs from the event loop, once the window is up.
    timer_.setObjectName(QStringLiteral("timer"));
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &tMainForm::timerTimer);
    timer_.start(loadCycleFirstDelayMs);
}

tMainForm::~tMainForm() {
    closing_ = true;
    qApp->removeEventFilter(this);
    disconnect(qApp, nullptr, this, nullptr);
    // The lists and widgets go while the window is whole, so that the signals
    // they send on their way out find it intact.
    delete graphs_;
    delete knownFiles_;
    delete statsLogs_;
    delete centralWidget();
}

void tMainForm::connectActions() {
    const tMainActions& a = actions_;
    connect(a.aFileCompressLogs, &QAction::triggered, this, [this] { compress_->execute(); });
    connect(a.aRepairKM, &QAction::triggered, this, [this] { repair_->execute(); });
    connect(a.aFileRecErrorsLog, &QAction::triggered, this, [this] {
        aFileRecErrorsLogExecute(this, values_.locations.dataFolder, *recorder_, prompter_);
    });
    connect(a.aFileExit, &QAction::triggered, this, &QWidget::close);
    connect(a.aKFReload, &QAction::triggered, this, &tMainForm::armLoadCycle);
    connect(a.filterGroup, &QActionGroup::triggered, this, &tMainForm::armLoadCycle);
    connect(a.aKFDelLog, &QAction::triggered, knownFiles_, &tKnownFilesList::deleteSelectedLogs);
    connect(a.aRefKF1, &QAction::triggered, this,
            [this](bool checked) { knownFiles_->setReference(1, checked); });
    connect(a.aRefKF2, &QAction::triggered, this,
            [this](bool checked) { knownFiles_->setReference(2, checked); });
    connect(a.aResetRef, &QAction::triggered, knownFiles_, &tKnownFilesList::resetReferences);
    connect(a.aIniDelLog, &QAction::triggered, statsLogs_, &tStatsLogsList::deleteSelectedLogs);
    connect(a.aIniSwapGraph, &QAction::triggered, statsLogs_, &tStatsLogsList::swapGraph);
    connect(a.aIniNewLog, &QAction::triggered, this, [this] { logDialogs_->newLog(); });
    connect(a.aIniEditLog, &QAction::triggered, this, [this] { logDialogs_->editLog(); });
    connect(a.aIniCombine, &QAction::triggered, this, [this] { logDialogs_->combine(); });
    connect(a.aGrEmuleRuntime, &QAction::triggered, this, [this] {
        idle_.redrawPending = true;
        requestIdle();
    });
    connect(a.aHlpTips, &QAction::triggered, this, &tMainForm::aHlpTipsExecute);
    connect(a.aHlpBugs, &QAction::triggered, this, &tMainForm::aHlpBugsExecute);
    connect(a.aCredits, &QAction::triggered, this, &tMainForm::aCreditsExecute);
    connect(a.aNavNextTab, &QAction::triggered, this,
            [this] { tabs_->setCurrentIndex((tabs_->currentIndex() + 1) % tabs_->count()); });
    connect(a.aNavPrevTab, &QAction::triggered, this, [this] {
        tabs_->setCurrentIndex((tabs_->currentIndex() + tabs_->count() - 1) % tabs_->count());
    });
    connect(statsView_, &QAbstractItemView::doubleClicked, this, [this] {
        if (actions_.aIniEditLog->isEnabled())
            actions_.aIniEditLog->trigger();
    });
    knownFilesView_->setPopupMenu(a.knownFilesPopup);
    statsView_->setPopupMenu(a.statsPopup);
    connect(knownFiles_, &tKnownFilesList::stateChanged, this, &tMainForm::updateActions);
    connect(statsLogs_, &tStatsLogsList::stateChanged, this, &tMainForm::updateActions);
    connect(qApp, &QApplication::focusChanged, this, &tMainForm::updateActions);
    // Files appear and focus moves behind a menu's back: its actions are
    // brought up to date as it opens, however it is opened.
    for (QMenu* menu : {a.fileMenu, a.knownFilesMenu, a.statsMenu, a.graphicsMenu, a.helpMenu,
                        a.knownFilesPopup, a.statsPopup, a.chartPopup})
        connect(menu, &QMenu::aboutToShow, this, &tMainForm::updateActions);
    connectLinkActions();
}

void tMainForm::connectLinkActions() {
    const tMainActions& a = actions_;
    connect(a.aKFSaveAsCollection, &QAction::triggered, this,
            [this] { saveLinksAsCollection(this, selectedLinkRows(), prompter_, linksFolder_); });
    connect(a.aKFCopyAsCollection, &QAction::triggered, this,
            [this] { copyLinksToClipboard(selectedLinkRows()); });
    connect(a.aKFCopyAsHtmlCollection, &QAction::triggered, this,
            [this] { copyHtmlLinksToClipboard(selectedLinkRows()); });
    connect(a.aKFCopyFormat, &QAction::triggered, this, [this] {
        copyFormattedLinksToClipboard(
            this, selectedLinkRows(),
            tCopyFormatSetting{
                [this] { return getIniString(copyFormatKey, ""); },
                [this](const std::string& format) { setIniString(copyFormatKey, format); }});
    });
    // The services are read afresh each time one of the menus opens, so
    // that a change eMule made to its file shows at once.
    connect(a.knownFilesMenu, &QMenu::aboutToShow, this,
            [this] { buildWebServices(*actions_.webServicesMenu); });
    connect(a.knownFilesPopup, &QMenu::aboutToShow, this,
            [this] { buildWebServices(*actions_.webServicesPopup); });
}

// The rows the link exports act on, in list order.
std::vector<tLinkRow> tMainForm::selectedLinkRows() {
    const tKnownFilesTable& table = knownFiles_->model().table();
    std::vector<tLinkRow> rows;
    for (const std::size_t position : knownFiles_->selectedPositions()) {
        const tKnownFileRow& row = table.row(position);
        rows.push_back({row.record, row.path});
    }
    return rows;
}

void tMainForm::buildWebServices(QMenu& submenu) {
    const std::vector<std::size_t> selected = knownFiles_->selectedPositions();
    buildWebServicesMenu(
        submenu, values_.locations.eMuleConfigFolder + webServicesFileName, selected.size(),
        [this]() -> const tKnownMetRecord* {
            const std::vector<const tKnownMetRecord*> records = knownFiles_->selectedRecords();
            return records.empty() ? nullptr : records.front();
        },
        prompter_);
}

void tMainForm::updateActions() {
    if (closing_)
        return;
    const tMainActions& a = actions_;
    a.aKFDelLog->setEnabled(knownFiles_->canDeleteLog());
    a.aRefKF1->setEnabled(knownFiles_->referenceEnabled(1));
    a.aRefKF1->setChecked(knownFiles_->referenceChecked(1));
    a.aRefKF2->setEnabled(knownFiles_->referenceEnabled(2));
    a.aRefKF2->setChecked(knownFiles_->referenceChecked(2));
    a.aResetRef->setEnabled(knownFiles_->hasReference());
    a.aIniDelLog->setEnabled(statsLogs_->canDeleteLog());
    a.aIniSwapGraph->setEnabled(statsLogs_->canSwapGraph());
    a.aIniNewLog->setEnabled(true);
    a.aIniEditLog->setEnabled(logDialogs_->canEditLog());
    a.aIniCombine->setEnabled(logDialogs_->canCombine());
    a.aFileCompressLogs->setEnabled(compress_->enabled());
    a.aFileRecErrorsLog->setEnabled(errorsLogExists(values_.locations.dataFolder));
    knownMetEdit_->updateActions();
    const bool linksEnabled =
        canExportLinks(knownFiles_->selectedPositions().size(), knownMet_->list() != nullptr);
    for (QAction* links :
         {a.aKFSaveAsCollection, a.aKFCopyAsCollection, a.aKFCopyAsHtmlCollection, a.aKFCopyFormat})
        links->setEnabled(linksEnabled);
}

tKnownFilesFilter tMainForm::knownFilesFilter() const {
    if (actions_.aKFShowAll->isChecked())
        return tKnownFilesFilter::all;
    if (actions_.aKFShowLogged->isChecked())
        return tKnownFilesFilter::logged;
    return tKnownFilesFilter::shared;
}

void tMainForm::armLoadCycle() {
    timer_.start(loadCycleFirstDelayMs);
}

bool tMainForm::loadCycle(std::string& failure) {
    // Every source is tried, but known.met waits for all of them.
    if (!loadSharedFolders(*sharedFolders_, failure))
        return false;
    if (!loadEmuleFiles(*knownMet_, failure)) {
        // A failed reload drops the records: no row may outlive them.
        if (!knownMet_->list())
            knownFiles_->clear();
        return false;
    }
    logFiles_->scanLogs();
    const bool filled = refillKnownFiles(failure);
    statsLogs_->logFilesLoaded();
    return filled;
}

bool tMainForm::refillKnownFiles(std::string& failure) {
    // The files on disk are matched afresh at each fill.
    tSharedFileTable shared;
    sharedFolders_->scanSharedFiles(shared);
    return knownFiles_->knownMetLoaded(knownMet_->list(), knownFilesFilter(),
                                       sharedFileLookup(shared, platform_.clock), failure);
}

// The load and the drawing that waited for a task or its dialog.
void tMainForm::serveHeldWork() {
    if (std::exchange(loadHeld_, false))
        armLoadCycle();
    requestIdle();
}

void tMainForm::timerTimer() {
    timer_.stop();
    // The catalogue and the list are rebuilt only when no task works on them.
    if (recorder_->busy()) {
        loadHeld_ = true;
        return;
    }
    {
        BusyCursor busy;
        std::string failure;
        if (loadCycle(failure)) {
            failureLabel_->clear();
        } else {
            timer_.start(loadCycleRetryDelayMs);
            failureLabel_->setText(
                QString::fromStdString("Loading failed, retrying every 2 s: " + failure));
        }
    }
    if (idle_.tipsPending && !timer_.isActive() && getIniInt("showTips", 1) != 0) {
        idle_.tipsPending = false;
        aHlpTipsExecute();
    }
}

void tMainForm::requestIdle() {
    if (!closing_ && !idleTimer_.isActive())
        idleTimer_.start(0);
}

void tMainForm::appEventsIdle() {
    // A drawing would read the logs a task rewrites; the flags stay set.
    if (closing_ || QCoreApplication::closingDown() || recorder_->busy())
        return;
    if (idle_.redrawPending) {
        idle_.redrawPending = false;
        emit drawGraphicsRequested();
    }
    if (idle_.tagsPending) {
        idle_.tagsPending = false;
        showTags();
    }
    if (idle_.readoutPending) {
        emit readoutRequested();
        idle_.readoutPending = false;
    }
    // What the actions may do depends on state that changes behind their
    // back (the graphs colour the files they draw): they are brought up to
    // date whenever the window is idle.
    updateActions();
}

void tMainForm::showTags() {
    const tKnownFilesModel& model = knownFiles_->model();
    const std::string text =
        tagsText(tagRecords(model.reference1(), model.reference2(), knownFiles_->selectedRecords()),
                 userNumbers());
    tagsBox_->setPlainText(
        QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void tMainForm::aHlpTipsExecute() {
    runHelp(true);
}

void tMainForm::aHlpBugsExecute() {
    runHelp(false);
}

// The tips and the notes lead to each other; each closes before the other
// opens.
void tMainForm::runHelp(bool tipsFirst) {
    bool tips = tipsFirst;
    for (;;) {
        if (tips) {
            std::vector<std::string> texts =
                tipTexts({actions_.fileMenu->title().toStdString(),
                          actions_.aFileCompressLogs->text().toStdString(),
                          actions_.statsMenu->title().toStdString(),
                          actions_.aIniNewLog->text().toStdString()},
                         values_.compressionThreshold);
            const std::size_t first = randomTip(texts.size());
            tTipsForm form(this, std::move(texts), first, getIniInt("showTips", 1) != 0);
            form.exec();
            setIniInt("showTips", form.showAtStartup() ? 1 : 0);
            if (!form.notesChosen())
                return;
        } else {
            tbugsForm form(this, noteTexts("eMule runtime days"));
            form.exec();
            if (!form.tipsChosen())
                return;
        }
        tips = !tips;
    }
}

void tMainForm::aCreditsExecute() {
    tCreditsForm form(this);
    form.exec();
}

void tMainForm::closeEvent(QCloseEvent* event) {
    closing_ = true;
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
        if (key->key() == Qt::Key_Shift || key->key() == Qt::Key_Control) {
            idle_.readoutPending = true;
            requestIdle();
        }
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
