#include "links/ui/web_services_menu.h"

#include "common/error.h"
#include "links/core/web_services.h"

#include <QDesktopServices>
#include <QMenu>
#include <QUrl>
#include <utility>
#include <vector>

namespace pln {

namespace {

void addDisabledItem(QMenu& submenu, const std::string& caption) {
    submenu.addAction(QString::fromStdString(caption))->setEnabled(false);
}

} // namespace

void buildWebServicesMenu(QMenu& submenu, const std::string& webServicesPath,
                          std::size_t selectedRows, const tFirstSelectedRecord& firstSelected,
                          Prompter& prompter) {
    submenu.clear();
    std::vector<tWebService> services;
    try {
        services = loadWebServices(webServicesPath);
    } catch (const Error& e) {
        addDisabledItem(submenu, e.what());
        return;
    }
    if (services.empty()) {
        addDisabledItem(submenu, noWebServicesCaption);
        return;
    }
    for (auto& service : services) {
        QAction* item = submenu.addAction(QString::fromStdString(service.caption));
        item->setEnabled(webServiceItemsEnabled(selectedRows));
        QObject::connect(item, &QAction::triggered, item,
                         [urlTemplate = std::move(service.urlTemplate), firstSelected, &prompter] {
                             if (const tKnownMetRecord* record = firstSelected())
                                 mWebServicesClick(urlTemplate, *record, prompter);
                         });
    }
}

void mWebServicesClick(const std::string& urlTemplate, const tKnownMetRecord& record,
                       Prompter& prompter) {
    std::string url = webServiceUrl(urlTemplate, record);
    if (!isWebUrl(url)) {
        prompter.showError(
            format("The web service address \"%s\" is not an http, https or ftp address.", {url}));
        return;
    }
    // Without a browser, or when the desktop refuses, the user learns the
    // address and can open it by hand.
    if (!QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::TolerantMode)))
        prompter.showError(format("The web service address \"%s\" could not be opened: no web "
                                  "browser took it.",
                                  {url}));
}

} // namespace pln
