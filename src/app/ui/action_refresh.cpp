#include "app/ui/action_refresh.h"

#include <QMenu>

namespace pln {

void tActionRefresh::request() {
    if (!stopped_)
        emit due();
}

void tActionRefresh::watchMenus(std::initializer_list<QMenu*> menus) {
    for (QMenu* menu : menus)
        connect(menu, &QMenu::aboutToShow, this, &tActionRefresh::request);
}

} // namespace pln
