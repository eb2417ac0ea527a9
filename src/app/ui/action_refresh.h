#pragma once

#include <QObject>
#include <initializer_list>

class QMenu;

namespace pln {

// What an action may do depends on state that changes behind its back (a
// drawing colours the files, a file appears, the focus moves), so the window
// asks for a refresh at those moments and as any of its menus opens; each
// command and list enables its own actions when the refresh is due.
class tActionRefresh : public QObject {
    Q_OBJECT

public:
    explicit tActionRefresh(QObject* parent) : QObject(parent) {}

    void request();
    // From the window's close on nothing is refreshed: the parts may be going.
    void stop() { stopped_ = true; }
    // However a menu is opened, its actions are brought up to date first.
    void watchMenus(std::initializer_list<QMenu*> menus);

signals:
    void due();

private:
    bool stopped_ = false;
};

} // namespace pln
