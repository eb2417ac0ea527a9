#pragma once

#include "common/prompter.h"
#include "links/core/links_collection.h"
#include "links/ui/link_actions.h"
#include "links/ui/web_services_menu.h"

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace pln {

// The actions and menus of the ed2k links and the web services.
struct tLinkActionSet {
    QAction& saveAsCollection;
    QAction& copyAsCollection;
    QAction& copyAsHtmlCollection;
    QAction& copyFormat;
    // The menus that hold a web services submenu, each with its submenu.
    QMenu& menu;
    QMenu& webServicesMenu;
    QMenu& popup;
    QMenu& webServicesPopup;
};

// What the link commands read of the known files list and of known.met.
struct tLinkSources {
    // The selected rows, in list order.
    std::function<std::vector<tLinkRow>()> selectedRows;
    tFirstSelectedRecord firstSelected;
    std::function<bool()> knownMetLoaded;
    // Keeps the user's link format between uses.
    tSettingsStore& settings;
    // The full path of eMule's webservices.dat.
    std::string webServicesPath;
};

// The link exports of the selected known files and the web services menus,
// which are read afresh each time a menu that holds them opens, so that a
// change eMule made to its file shows at once.
class tLinkCommands : public QObject {
public:
    tLinkCommands(QWidget& window, tLinkSources sources, tLinkActionSet actions,
                  Prompter& prompter);

    void updateActions();

private:
    void buildWebServices(QMenu& submenu);

    QWidget& window_;
    tLinkSources sources_;
    tLinkActionSet actions_;
    Prompter& prompter_;
    // Where the last collection of links was saved, for the next one.
    QString folder_;
};

} // namespace pln
