#pragma once

#include "app/core/known_files_table.h"

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;

namespace pln {

// Every action of the main window, with its caption, access key and
// shortcut, and the menus that hold them. Actions whose work belongs to
// features not present in this build stay disabled.
struct tMainActions {
    QAction* aFileCompressLogs = nullptr;
    QAction* aFileRecErrorsLog = nullptr;
    QAction* aFileExit = nullptr;

    QAction* aKFReload = nullptr;
    QAction* aKFShowAll = nullptr;
    QAction* aKFShowShared = nullptr;
    QAction* aKFShowLogged = nullptr;
    QActionGroup* filterGroup = nullptr;
    QAction* aKFDelLog = nullptr;
    QAction* aRefKF1 = nullptr;
    QAction* aRefKF2 = nullptr;
    QAction* aResetRef = nullptr;
    QAction* aKFRename = nullptr;
    QAction* aKFDelKnownFile = nullptr;
    QAction* aKFMoveToCancelledMet = nullptr;
    QAction* aRepairKM = nullptr;
    QAction* aKFSaveAsCollection = nullptr;
    QAction* aKFCopyAsCollection = nullptr;
    QAction* aKFCopyAsHtmlCollection = nullptr;
    QAction* aKFCopyFormat = nullptr;

    QAction* aIniNewLog = nullptr;
    QAction* aIniEditLog = nullptr;
    QAction* aIniSwapGraph = nullptr;
    QAction* aIniDelLog = nullptr;
    QAction* aIniCombine = nullptr;

    QAction* aGrEmuleRuntime = nullptr;
    QAction* aColors = nullptr;
    QAction* aGraphOptions = nullptr;
    QAction* aGrSaveImage = nullptr;
    QAction* aGrSaveData = nullptr;

    QAction* aHlpTips = nullptr;
    QAction* aHlpBugs = nullptr;
    QAction* aCredits = nullptr;

    QAction* aNavNextTab = nullptr;
    QAction* aNavPrevTab = nullptr;

    QMenu* fileMenu = nullptr;
    QMenu* knownFilesMenu = nullptr;
    // The "&Web services" submenus of the main menu and of the known files
    // pop-up menu, filled when their menu opens.
    QMenu* webServicesMenu = nullptr;
    QMenu* webServicesPopup = nullptr;
    QMenu* statsMenu = nullptr;
    QMenu* graphicsMenu = nullptr;
    QMenu* helpMenu = nullptr;
    QMenu* knownFilesPopup = nullptr;
    QMenu* statsPopup = nullptr;
    QMenu* chartPopup = nullptr;
};

// Creates the actions as children of the window and fills its menu bar.
tMainActions createMainActions(QMainWindow& window);

// The known files the filter actions ask the list to show.
tKnownFilesFilter knownFilesFilter(const tMainActions& actions);

} // namespace pln
