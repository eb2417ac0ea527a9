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
            // A step that failed may have left its dialog open.
            if (shown >= steps.size() || QTest::currentTestFailed())
                dialog->reject();
            ++shown;
        });
        driver.start(10);
        action();
        QTRY_VERIFY(shown >= steps.size());
        QCOMPARE(shown, steps.size());
    }

    // At least the design size, and wide enough that no caption is cut;
    // the buttons and Enter in the text page around the tips.
    static void pagesAroundBothWays(tTipsForm& tips) {
        QVERIFY(tips.width() >= std::max(457, tips.minimumSizeHint().width()));
        QVERIFY(tips.height() >= 250);
        const std::size_t first = tips.tipIndex();
        const QString text = tips.text();
        QVERIFY(!text.isEmpty());
        click(tips, "nextButton");
        QCOMPARE(tips.tipIndex(), (first + 1) % 11);
        click(tips, "previousButton");
        click(tips, "previousButton");
        QCOMPARE(tips.tipIndex(), (first + 10) % 11);
        QTest::keyClick(tips.findChild<QPlainTextEdit*>("tipsBox"), Qt::Key_Return);
        QCOMPARE(tips.tipIndex(), first);
        QCOMPARE(tips.text(), text);
        QVERIFY(tips.findChild<QPushButton*>("nextButton")->isDefault());
    }

private slots:
    // The tips come once after the first load of a first start, then on
    // demand; tips and notes lead to each other and the tips' box is the
    // setting.
    void tipsComeOnceThenOnDemandAndLeadToTheNotes() {
        profile_.dir.write("PLN/PLN.ini", "[PLN]\r\n");
        std::unique_ptr<tMainForm> form;
        bool offeredTicked = false;
        runWithSteps([&] { form = session_.open(profile_.locations); },
                     {[&](QDialog& dialog) {
                          auto& tips = static_cast<tTipsForm&>(dialog);
                          offeredTicked = showAtStartup(tips);
                          pagesAroundBothWays(tips);
                          tips.findChild<QCheckBox*>("showAtStartupBox")->setChecked(false);
                          click(tips, "notesButton");
                      },
                      [&](QDialog& notes) {
                          auto* bugs = qobject_cast<tbugsForm*>(&notes);
                          QVERIFY(bugs);
                          click(notes, "previousButton");
                          QCOMPARE(bugs->noteIndex(), 2u);
                          click(notes, "tipsButton");
                      },
                      [&](QDialog& tips) {
                          QVERIFY(!showAtStartup(tips));
                          tips.findChild<QCheckBox*>("showAtStartupBox")->setChecked(true);
                          QTest::keyClick(&tips, Qt::Key_Escape);
                      }});
        QVERIFY(offeredTicked);
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
