#pragma once

#include "app/ui/main_actions.h"

#include <QObject>

class QWidget;

namespace pln {

class tSession;

// The Help menu: the tips, the important notes and the credits. The tips
// are also offered once at start-up, after the first load that succeeded,
// unless the user turned them off.
class tHelpCommand : public QObject {
public:
    tHelpCommand(QWidget& window, const tMainActions& actions, tSession& session);

    void offerTipsOnce();

private:
    void runHelp(bool tipsFirst);
    void showCredits();

    QWidget& window_;
    const tMainActions& actions_;
    tSession& session_;
    bool tipsOffered_ = false;
};

} // namespace pln
