#include "app/ui/main_actions.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace pln {

namespace {

QAction* action(QMainWindow& window, const char* name, const QString& caption,
                const QKeySequence& shortcut = {}, bool enabled = true) {
    auto* created = new QAction(caption, &window);
    created->setObjectName(QString::fromLatin1(name));
    created->setShortcut(shortcut);
    created->setEnabled(enabled);
    // The shortcuts work wherever the focus is in the window, menus or not.
    window.addAction(created);
    return created;
}

void createKnownFilesActions(QMainWindow& window, tMainActions& a) {
    a.aKFReload = action(window, "aKFReload", "&Reload", Qt::Key_F5);
    a.aKFShowAll = action(window, "aKFShowAll", "Show &all known files", Qt::CTRL | Qt::Key_A);
    a.aKFShowShared =
        action(window, "aKFShowShared", "Show &shared files only", Qt::CTRL | Qt::Key_S);
    a.aKFShowLogged =
        action(window, "aKFShowLogged", "Show &logged files only", Qt::CTRL | Qt::Key_L);
    a.filterGroup = new QActionGroup(&window);
    for (QAction* filter : {a.aKFShowAll, a.aKFShowShared, a.aKFShowLogged}) {
        filter->setCheckable(true);
        a.filterGroup->addAction(filter);
    }
    a.aKFShowShared->setChecked(true);
    // The menu shows the gesture that deletes without the menu.
    a.aKFDelLog = action(window, "aKFDelLog", "&Delete log\tCtrl+Untick checkbox");
    a.aRefKF1 = action(window, "aRefKF1", "Reference file &1", Qt::CTRL | Qt::Key_1, false);
    a.aRefKF2 = action(window, "aRefKF2", "Reference file &2", Qt::CTRL | Qt::Key_2, false);
    a.aRefKF1->setCheckable(true);
    a.aRefKF2->setCheckable(true);
    a.aResetRef =
        action(window, "aResetRef", "&Reset reference files", Qt::CTRL | Qt::Key_0, false);
    a.aKFRename = action(window, "aKFRename", "&Rename", Qt::Key_F2, false);
    a.aKFDelKnownFile = action(window, "aKFDelKnownFile", "Set as &unknown file(s)", {}, false);
    a.aKFMoveToCancelledMet =
        action(window, "aKFMoveToCancelledMet", "Set as &cancelled file(s)", {}, false);
    a.aRepairKM = action(window, "aRepairKM", "Repair &known.met...", {}, false);
    a.aKFSaveAsCollection =
        action(window, "aKFSaveAsCollection",
               "&Save link(s) as eMuleCollection (text format only)...", {}, false);
    a.aKFCopyAsCollection =
        action(window, "aKFCopyAsCollection", "&Copy link(s) to clipboard", {}, false);
    a.aKFCopyAsHtmlCollection = action(window, "aKFCopyAsHtmlCollection",
                                       "Copy &HTML formatted link(s) to clipboard", {}, false);
    a.aKFCopyFormat =
        action(window, "aKFCopyFormat", "Copy user &formatted link(s) to clipboard...", {}, false);
}

void createOtherActions(QMainWindow& window, tMainActions& a) {
    a.aFileCompressLogs = action(window, "aFileCompressLogs", "&Compress logs", {}, false);
    a.aFileRecErrorsLog =
        action(window, "aFileRecErrorsLog", "View recorder's errors log...", {}, false);
    a.aFileExit = action(window, "aFileExit", "E&xit", Qt::ALT | Qt::Key_F4);

    a.aIniNewLog = action(window, "aIniNewLog", "&New log...", Qt::CTRL | Qt::Key_N, false);
    a.aIniEditLog =
        action(window, "aIniEditLog", "Log &properties...", Qt::ALT | Qt::Key_Return, false);
    // The keypad's Enter is the same key to the user.
    a.aIniEditLog->setShortcuts(
        {QKeySequence(Qt::ALT | Qt::Key_Return), QKeySequence(Qt::ALT | Qt::Key_Enter)});
    a.aIniSwapGraph = action(window, "aIniSwapGraph", "Swap focused log between &graphs",
                             Qt::CTRL | Qt::Key_G, false);
    a.aIniDelLog = action(window, "aIniDelLog", "&Delete log\tCtrl+Untick checkbox", {}, false);
    a.aIniCombine = action(window, "aIniCombine", "&Combine logs...", {}, false);

    a.aGrEmuleRuntime = action(window, "aGrEmuleRuntime", "Horizontal axis = &eMule runtime days",
                               Qt::CTRL | Qt::Key_E);
    a.aGrEmuleRuntime->setCheckable(true);
    a.aGrEmuleRuntime->setChecked(true);
    a.aColors = action(window, "aColors", "&Colors...", {}, false);
    a.aGraphOptions = action(window, "aGraphOptions", "&Options...", {}, false);
    a.aGrSaveImage = action(window, "aGrSaveImage", "Save graphs as &image...", {}, false);
    a.aGrSaveData = action(window, "aGrSaveData", "Save graph &data as CSV...", {}, false);

    a.aHlpTips = action(window, "aHlpTips", "&Tips");
    a.aHlpBugs = action(window, "aHlpBugs", "&Important notes");
    a.aCredits = action(window, "aCredits", "&Credits");

    a.aNavNextTab = action(window, "aNavNextTab", "Next page", Qt::CTRL | Qt::Key_Tab);
    a.aNavPrevTab =
        action(window, "aNavPrevTab", "Previous page", Qt::CTRL | Qt::SHIFT | Qt::Key_Tab);
}

// The known files items, shared by the main menu and the list's pop-up menu.
void fillKnownFilesMenu(QMenu& menu, const tMainActions& a, QMenu* webServices) {
    menu.addAction(a.aKFReload);
    QMenu* filter = menu.addMenu("&Filter");
    filter->addActions({a.aKFShowAll, a.aKFShowShared, a.aKFShowLogged});
    menu.addSeparator();
    menu.addAction(a.aKFDelLog);
    menu.addSeparator();
    menu.addActions({a.aRefKF1, a.aRefKF2, a.aResetRef});
    menu.addSeparator();
    QMenu* edit = menu.addMenu("&Edit known.met");
    edit->addActions({a.aKFRename, a.aKFDelKnownFile, a.aKFMoveToCancelledMet});
    edit->addSeparator();
    edit->addAction(a.aRepairKM);
    QMenu* links = menu.addMenu("ed2k &links");
    links->addActions(
        {a.aKFSaveAsCollection, a.aKFCopyAsCollection, a.aKFCopyAsHtmlCollection, a.aKFCopyFormat});
    menu.addMenu(webServices);
}

void fillStatsMenu(QMenu& menu, const tMainActions& a) {
    menu.addAction(a.aKFReload);
    menu.addSeparator();
    menu.addActions({a.aIniNewLog, a.aIniEditLog, a.aIniSwapGraph, a.aIniDelLog});
    menu.addSeparator();
    menu.addAction(a.aIniCombine);
}

} // namespace

tMainActions createMainActions(QMainWindow& window) {
    tMainActions a;
    createKnownFilesActions(window, a);
    createOtherActions(window, a);
    QMenuBar* bar = window.menuBar();

    a.fileMenu = bar->addMenu("&File");
    a.fileMenu->addAction(a.aFileCompressLogs);
    a.fileMenu->addSeparator();
    a.fileMenu->addAction(a.aFileRecErrorsLog);
    a.fileMenu->addSeparator();
    a.fileMenu->addAction(a.aFileExit);

    a.webServicesMenu = new QMenu("&Web services", &window);
    a.webServicesPopup = new QMenu("&Web services", &window);
    a.knownFilesMenu = bar->addMenu("&Known files");
    fillKnownFilesMenu(*a.knownFilesMenu, a, a.webServicesMenu);

    a.statsMenu = bar->addMenu("&eMule stats and settings");
    fillStatsMenu(*a.statsMenu, a);

    a.graphicsMenu = bar->addMenu("&Graphics");
    a.graphicsMenu->addActions({a.aGrEmuleRuntime, a.aColors, a.aGraphOptions});

    a.helpMenu = bar->addMenu("&Help");
    a.helpMenu->addActions({a.aHlpTips, a.aHlpBugs});
    a.helpMenu->addSeparator();
    a.helpMenu->addAction(a.aCredits);

    a.knownFilesPopup = new QMenu(&window);
    fillKnownFilesMenu(*a.knownFilesPopup, a, a.webServicesPopup);
    a.statsPopup = new QMenu(&window);
    fillStatsMenu(*a.statsPopup, a);
    a.statsPopup->setDefaultAction(a.aIniEditLog);
    a.chartPopup = new QMenu(&window);
    a.chartPopup->addActions({a.aGrEmuleRuntime, a.aColors, a.aGraphOptions});
    a.chartPopup->addSeparator();
    a.chartPopup->addActions({a.aGrSaveImage, a.aGrSaveData});
    return a;
}

tKnownFilesFilter knownFilesFilter(const tMainActions& actions) {
    if (actions.aKFShowAll->isChecked())
        return tKnownFilesFilter::all;
    if (actions.aKFShowLogged->isChecked())
        return tKnownFilesFilter::logged;
    return tKnownFilesFilter::shared;
}

} // namespace pln
