#include "app/core/help_texts.h"
#include "app/ui/bugs_form.h"
#include "app/ui/credits_form.h"
#include "app/ui/main_form.h"
#include "app/ui/tips_form.h"
#include "common/program_info.h"
#include "common/setting_keys.h"
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

namespace {

void click(QDialog& dialog, const char* button) {
    QPushButton* found = dialog.findChild<QPushButton*>(button);
    QVERIFY(found);
    found->click();
}

bool showAtStartup(QDialog& tips) {
    return tips.findChild<QCheckBox*>("showAtStartupBox")->isChecked();
}

} // namespace

class HelpDialogsTest : public QObject {
    Q_OBJECT

private:
    test::UiSession session_;
    test::UiProfile profile_;

    // Answers the modal dialogs shown while the action runs, one step per
    // dialog, from inside their own event loops; a dialog beyond the steps
    // is closed and fails the test.
    void runWithSteps(const std::function<void()>& action,
                      std::vector<std::function<void(QDialog&)>> steps) {
        std::size_t shown = 0;
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->property("answered").toBool())
                return;
            dialog->setProperty("answered", true);
            if (shown < steps.size())
                steps[shown](*dialog);
            else
                dialog->reject();
            ++shown;
        });
        driver.start(10);
        action();
        QTRY_VERIFY(shown >= steps.size());
        QCOMPARE(shown, steps.size());
    }

private slots:
    void tipsAndNotesPageAroundBothWays() {
        const std::vector<std::string> texts =
            tipTexts({"&File", "&Compress logs", "&e", "&N"}, 30);
        tTipsForm tips(nullptr, texts, 10, false);
        // At least the design size, and wide enough that no caption is cut.
        QVERIFY(tips.width() >= std::max(457, tips.minimumSizeHint().width()));
        QVERIFY(tips.height() >= 250);
        QCOMPARE(tips.text(), QString::fromStdString(texts[10]).replace("\\n", "\n"));
        click(tips, "nextButton");
        QCOMPARE(tips.tipIndex(), 0u);
        click(tips, "previousButton");
        click(tips, "previousButton");
        QCOMPARE(tips.tipIndex(), 9u);
        // Enter in the text box pages forward.
        QTest::keyClick(tips.findChild<QPlainTextEdit*>("tipsBox"), Qt::Key_Return);
        QCOMPARE(tips.tipIndex(), 10u);
        QVERIFY(!tips.showAtStartup());
        QVERIFY(tips.findChild<QPushButton*>("nextButton")->isDefault());

        tbugsForm notes(nullptr, noteTexts("eMule runtime days"));
        QCOMPARE(notes.noteIndex(), 0u);
        click(notes, "previousButton");
        QCOMPARE(notes.noteIndex(), 2u);
        click(notes, "nextButton");
        QCOMPARE(notes.noteIndex(), 0u);
    }

    // The tips come once after the first load of a first start, then on
    // demand; tips and notes lead to each other and the tips' box is the
    // setting.
    void tipsComeOnceThenOnDemandAndLeadToTheNotes() {
        profile_.dir.write("PLN/PLN.ini", "[PLN]\r\n");
        std::unique_ptr<tMainForm> form;
        bool offeredTicked = false;
        bool notesShown = false;
        runWithSteps([&] { form = session_.open(profile_.locations); },
                     {[&](QDialog& tips) {
                          offeredTicked = showAtStartup(tips);
                          QVERIFY(!static_cast<tTipsForm&>(tips).text().isEmpty());
                          tips.findChild<QCheckBox*>("showAtStartupBox")->setChecked(false);
                          click(tips, "notesButton");
                      },
                      [&](QDialog& notes) {
                          notesShown = qobject_cast<tbugsForm*>(&notes) != nullptr;
                          click(notes, "tipsButton");
                      },
                      [&](QDialog& tips) {
                          QVERIFY(!showAtStartup(tips));
                          tips.findChild<QCheckBox*>("showAtStartupBox")->setChecked(true);
                          QTest::keyClick(&tips, Qt::Key_Escape);
                      }});
        QVERIFY(offeredTicked);
        QVERIFY(notesShown);
        QCOMPARE(form->session().settings().text(settingKey::showTips.name, ""), "1");
        runWithSteps(
            [&] {
                form->actions().aKFReload->trigger();
                QTRY_VERIFY(!form->findChild<QTimer*>("timer")->isActive());
                QTest::qWait(100);
            },
            {});

        runWithSteps([&] { form->actions().aHlpTips->trigger(); },
                     {[&](QDialog& tips) {
                          tips.findChild<QCheckBox*>("showAtStartupBox")->setChecked(false);
                          click(tips, "notesButton");
                      },
                      [&](QDialog& notes) { click(notes, "closeButton"); }});
        QCOMPARE(form->session().settings().get(settingKey::showTips), 0);

        // What --version prints, checked on the installed program by the package test.
        runWithSteps([&] { form->actions().aCredits->trigger(); }, {[&](QDialog& credits) {
                         QCOMPARE(
                             static_cast<tCreditsForm&>(credits).version(),
                             QString("PLNViewer %1 (Qt %2)").arg(programVersion(), qVersion()));
                         QVERIFY(static_cast<tCreditsForm&>(credits).text().contains("Qt Charts"));
                         credits.accept();
                     }});
    }
};

QTEST_MAIN(HelpDialogsTest)
#include "help_dialogs_test.moc"
