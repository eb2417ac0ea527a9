#include "app/ui/help_command.h"

#include "app/core/help_texts.h"
#include "app/ui/bugs_form.h"
#include "app/ui/credits_form.h"
#include "app/ui/session.h"
#include "app/ui/tips_form.h"
#include "common/setting_keys.h"

#include <QAction>
#include <QMenu>
#include <QWidget>
#include <random>

namespace pln {

namespace {

// The process's own generator, never seeded by the viewer: the first tip
// follows the same sequence at every start, as the help always has.
std::size_t randomTip(std::size_t count) {
    static std::mt19937 generator;
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(generator);
}

} // namespace

tHelpCommand::tHelpCommand(QWidget& window, const tMainActions& actions, tSession& session)
    : QObject(&window), window_(window), actions_(actions), session_(session) {
    connect(actions_.aHlpTips, &QAction::triggered, this, [this] { runHelp(true); });
    connect(actions_.aHlpBugs, &QAction::triggered, this, [this] { runHelp(false); });
    connect(actions_.aCredits, &QAction::triggered, this, &tHelpCommand::showCredits);
}

void tHelpCommand::offerTipsOnce() {
    if (tipsOffered_ || session_.settings().get(settingKey::showTips) == 0)
        return;
    tipsOffered_ = true;
    runHelp(true);
}

// The tips and the notes lead to each other; each closes before the other
// opens.
void tHelpCommand::runHelp(bool tipsFirst) {
    bool tips = tipsFirst;
    for (;;) {
        if (tips) {
            std::vector<std::string> texts =
                tipTexts({actions_.fileMenu->title().toStdString(),
                          actions_.aFileCompressLogs->text().toStdString(),
                          actions_.statsMenu->title().toStdString(),
                          actions_.aIniNewLog->text().toStdString()},
                         session_.values().compressionThreshold);
            const std::size_t first = randomTip(texts.size());
            tTipsForm form(&window_, std::move(texts), first,
                           session_.settings().get(settingKey::showTips) != 0);
            form.exec();
            session_.settings().set(settingKey::showTips, form.showAtStartup() ? 1 : 0);
            if (!form.notesChosen())
                return;
        } else {
            tbugsForm form(&window_, noteTexts("eMule runtime days"));
            form.exec();
            if (!form.tipsChosen())
                return;
        }
        tips = !tips;
    }
}

void tHelpCommand::showCredits() {
    tCreditsForm form(&window_);
    form.exec();
}

} // namespace pln
