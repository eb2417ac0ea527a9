#include "links/ui/link_commands.h"

#include "links/core/link_exports.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace pln {

tLinkCommands::tLinkCommands(QWidget& window, tLinkSources sources, tLinkActionSet actions,
                             Prompter& prompter)
    : QObject(&window), window_(window), sources_(std::move(sources)), actions_(actions),
      prompter_(prompter) {
    connect(&actions_.saveAsCollection, &QAction::triggered, this, [this] {
        saveLinksAsCollection(&window_, sources_.selectedRows(), prompter_, folder_);
    });
    connect(&actions_.copyAsCollection, &QAction::triggered, this,
            [this] { copyLinksToClipboard(sources_.selectedRows()); });
    connect(&actions_.copyAsHtmlCollection, &QAction::triggered, this,
            [this] { copyHtmlLinksToClipboard(sources_.selectedRows()); });
    connect(&actions_.copyFormat, &QAction::triggered, this, [this] {
        copyFormattedLinksToClipboard(&window_, sources_.selectedRows(), sources_.settings);
    });
    connect(&actions_.menu, &QMenu::aboutToShow, this,
            [this] { buildWebServices(actions_.webServicesMenu); });
    connect(&actions_.popup, &QMenu::aboutToShow, this,
            [this] { buildWebServices(actions_.webServicesPopup); });
}

void tLinkCommands::buildWebServices(QMenu& submenu) {
    buildWebServicesMenu(submenu, sources_.webServicesPath, sources_.selectedRows().size(),
                         sources_.firstSelected, prompter_);
}

void tLinkCommands::updateActions() {
    const bool enabled = canExportLinks(sources_.selectedRows().size(), sources_.knownMetLoaded());
    for (QAction* action : {&actions_.saveAsCollection, &actions_.copyAsCollection,
                            &actions_.copyAsHtmlCollection, &actions_.copyFormat})
        action->setEnabled(enabled);
}

} // namespace pln
