#include "app/core/help_texts.h"
#include "app/ui/bugs_form.h"
#include "app/ui/credits_form.h"
#include "app/ui/main_form.h"
#include "app/ui/qt_prompter.h"
#include "app/ui/tips_form.h"
#include "common/program_info.h"
#include "platform/platform.h"
#include "ui/ui_fixture.h"
#include "ui/ui_profile.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using namespace pln;
using test::UiProfile;

namespace {

const tTipCaptions captions{"&File", "&Compress logs", "&eMule stats and settings", "&New log..."};

QString tipText(std::size_t index) {
    return QString::fromStdString(tipTexts(captions, 30)[index]).replace("\\n", "\n");
}

void click(QDialog& dialog, const char* button) {
    QPushButton* found = dialog.findChild<QPushButton*>(button);
    QVERIFY(found);
    found->click();
}

} // namespace

class HelpDialogsTest : public QObject {
    Q_OBJECT

private:
    test::UiSession session_;

    // Answers the modal dialogs of an action, one step per dialog shown,
    // from inside their own event loops.
    void runWithSteps(const std::function<void()>& action,
                      std::vector<std::function<void(QDialog&)>> steps) {
        std::size_t next = 0;
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->property("answered").toBool() || next >= steps.size())
                return;
            dialog->setProperty("answered", true);
            steps[next++](*dialog);
        });
        driver.start(10);
        action();
        QCOMPARE(next, steps.size());
    }

private slots:
    void tipsPageAroundBothWays() {
        tTipsForm form(nullptr, tipTexts(captions, 30), 10, false);
        QCOMPARE(form.windowTitle(), "Tips");
        // At least the design size, and wide enough that no caption is cut.
        QVERIFY(form.width() >= std::max(457, form.minimumSizeHint().width()));
        QVERIFY(form.height() >= 250);
        QCOMPARE(form.text(), tipText(10));
        click(form, "nextButton");
        QCOMPARE(form.tipIndex(), 0u);
        click(form, "previousButton");
        click(form, "previousButton");
        QCOMPARE(form.tipIndex(), 9u);
        // Enter in the text box pages forward.
        QTest::keyClick(form.findChild<QPlainTextEdit*>("tipsBox"), Qt::Key_Return);
        QCOMPARE(form.tipIndex(), 10u);
        click(form, "nextButton");
        click(form, "nextButton");
        QCOMPARE(form.text(), "You can use the Shift and Ctrl keys to select multiple items.\n\n"
                              "When several items are selected, pressing space or clicking in a "
                              "checkbox will activate / unactivate the logs of all the selected "
                              "items.");
        QVERIFY(!form.showAtStartup());
        QVERIFY(form.findChild<QPushButton*>("nextButton")->isDefault());
    }

    void compressionTipNamesTheMenuAndThreshold() {
        tTipsForm form(nullptr, tipTexts(captions, 30), 4, true);
        QVERIFY(form.text().contains("the menu \"File\" -> \"Compress logs\""));
        QVERIFY(form.text().contains("older than 30 days"));
        QVERIFY(form.text().contains("one value every 6 hours"));
    }

    void notesStartAtTheFirst() {
        tbugsForm form(nullptr, noteTexts("eMule runtime days"));
        QCOMPARE(form.windowTitle(), "Important notes");
        QCOMPARE(form.noteIndex(), 0u);
        QVERIFY(form.text().contains("with the \"eMule runtime days\" on the horizontal axis"));
        click(form, "previousButton");
        QCOMPARE(form.noteIndex(), 2u);
        click(form, "nextButton");
        click(form, "nextButton");
        QVERIFY(form.text().contains("- First close PLN (both viewer and recorder)\n- Change"));
    }

    void tipsSettingAndNotesLeadToEachOther() {
        UiProfile profile;
        auto form = session_.open(profile.locations);
        QCOMPARE(form->session().getIniInt("showTips", 1), 0);
        bool notesShown = false;
        bool tipsUnticked = false;
        runWithSteps([&] { form->actions().aHlpTips->trigger(); },
                     {[&](QDialog& tips) {
                          tipsUnticked = !static_cast<tTipsForm&>(tips).showAtStartup();
                          click(tips, "notesButton");
                      },
                      [&](QDialog& notes) {
                          notesShown = qobject_cast<tbugsForm*>(&notes) != nullptr;
                          click(notes, "tipsButton");
                      },
                      [&](QDialog& tips) {
                          tips.findChild<QCheckBox*>("showAtStartupBox")->setChecked(true);
                          QTest::keyClick(&tips, Qt::Key_Escape);
                      }});
        QVERIFY(tipsUnticked);
        QVERIFY(notesShown);
        QCOMPARE(form->session().getIniInt("showTips", 0), 1);

        runWithSteps([&] { form->actions().aHlpTips->trigger(); },
                     {[&](QDialog& tips) {
                          tips.findChild<QCheckBox*>("showAtStartupBox")->setChecked(false);
                          click(tips, "notesButton");
                      },
                      [&](QDialog& notes) { click(notes, "closeButton"); }});
        QCOMPARE(form->session().getIniInt("showTips", 1), 0);
    }

    void creditsNameTheLibraries() {
        UiProfile profile;
        auto form = session_.open(profile.locations);
        QString text, version;
        runWithSteps([&] { form->actions().aCredits->trigger(); }, {[&](QDialog& credits) {
                         text = static_cast<tCreditsForm&>(credits).text();
                         version = static_cast<tCreditsForm&>(credits).version();
                         QCOMPARE(credits.windowTitle(), "Credits");
                         QCOMPARE(credits.findChild<QPushButton*>()->text(), "Ok");
                         credits.accept();
                     }});
        for (const char* name :
             {"Qt 6", "Qt Charts", "GNU Lesser General Public License", "RFC 1321", "GoogleTest"})
            QVERIFY2(text.contains(name), name);
        // What --version prints, checked on the installed program by the package test.
        QCOMPARE(version, QString("PLNViewer %1 (Qt %2)").arg(programVersion(), qVersion()));
    }
};

QTEST_MAIN(HelpDialogsTest)
#include "help_dialogs_test.moc"
