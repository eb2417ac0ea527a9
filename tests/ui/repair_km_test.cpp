#include "app/ui/known_files_list.h"
#include "app/ui/main_form.h"
#include "app/ui/qt_prompter.h"
#include "kmedit/ui/repair_km_form.h"
#include "links/ui/qt_file_dialogs.h"
#include "support/recording_prompter.h"
#include "ui/ui_fixture.h"
#include "ui/ui_profile.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <map>

using namespace pln;

namespace {

const QString validLink =
    QStringLiteral("ed2k://|file|a%20b.txt|123|0123456789ABCDEF0123456789ABCDEF|/");

// A known-file log with one record per transferred total.
void writeTransfers(test::UiProfile& profile, int n, std::initializer_list<std::uint64_t> totals) {
    ByteWriter out;
    out.text("PLN");
    out.u8(0);
    out.u8(0);
    std::uint32_t stamp = 0x58210000;
    for (std::uint64_t total : totals) {
        out.u32(stamp += 32);
        out.u32(0);
        out.u32(0);
        out.u64(total);
    }
    profile.dir.write("PLN/PLN logs/" + test::hashOf(n) + ".pln_on", out.buffer());
}

} // namespace

class RepairKMFormTest : public QObject {
    Q_OBJECT

private:
    test::RecordingPrompter prompter_;
    std::optional<std::string> refusal_;

    std::unique_ptr<tRepairKMForm> makeForm() {
        prompter_.shown.clear();
        return std::make_unique<tRepairKMForm>(
            nullptr, tRepairKMFormContext{"/profile/config/known.met", prompter_, false,
                                          [](bool) { return true; }, [this] { return refusal_; }});
    }
    static QCheckBox* box(QDialog& form, const char* name) {
        return form.findChild<QCheckBox*>(name);
    }
    static bool offered(QDialog& form, const char* name) {
        QCheckBox* b = box(form, name);
        return b->isEnabled() && b->isChecked();
    }
    static bool withdrawn(QDialog& form, const char* name) {
        QCheckBox* b = box(form, name);
        return !b->isEnabled() && !b->isChecked();
    }

private slots:
    void initTestCase() { QtPrompter::interceptBoxes(true); }

    // Without a recorder the repair runs at once; the list shows the
    // repaired file, and after a failure what is on disk.
    void repairFromTheMainWindow() {
        test::UiSession session;
        test::UiProfile profile;
        profile.writePreferences("");
        profile.add(1, "alpha.avi", 10, 5);
        profile.add(2, "", 10);
        profile.saveKnownMet();
        writeTransfers(profile, 1, {100});
        writeTransfers(profile, 9, {10, 20, 5});
        auto form = session.open(profile.locations);
        form->show();
        form->actions().aKFShowAll->trigger();
        tKnownFilesModel& model = form->knownFilesList().model();
        QTRY_COMPARE(model.rowCount(), 2);

        std::function<void(tRepairKMForm&)> choose = [](tRepairKMForm& dialog) {
            dialog.findChild<QCheckBox*>("recalculateStatsBox")->click();
            dialog.findChild<QCheckBox*>("deleteErroneousBox")->click();
        };
        form->repair().setDialogRunner([&](QDialog& dialog) {
            choose(static_cast<tRepairKMForm&>(dialog));
            return int(QDialog::Accepted);
        });
        QtPrompter::clearShownBoxes();
        form->repair().execute();
        QCOMPARE(model.rowCount(), 2);
        const std::map<std::string, std::uint64_t> repaired{{"alpha.avi", 105},
                                                            {"Unknown filename", 25}};
        QCOMPARE(profile.transfersOnDisk(), repaired);
        QCOMPARE(form->statusBar()->currentMessage(),
                 QStringLiteral("Repair: 1 record(s) imported, 1 repaired, 1 deleted."));

        choose = [](tRepairKMForm& dialog) {
            QtFileDialogs::setNextFileName(QStringLiteral("/nonexistent/known.~met"));
            dialog.findChild<QPushButton*>("selectSrcBackupBtn")->click();
            dialog.findChild<QCheckBox*>("deleteErroneousBox")->click();
        };
        form->repair().execute();
        QCOMPARE(QtPrompter::shownBoxes().size(), std::size_t{1});
        QCOMPARE(QtPrompter::shownBoxes().front().icon, QMessageBox::Critical);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(profile.transfersOnDisk(), repaired);
    }

    // An operation that needs input is offered once its input is usable and
    // withdrawn when it no longer is.
    void optionsFollowTheirInputs() {
        auto form = makeForm();
        for (const char* name : {"importFromBackupBox", "importFromLinksBox", "importFromLogsBox"})
            QVERIFY2(withdrawn(*form, name), name);
        QVERIFY(box(*form, "deleteErroneousBox")->isEnabled());
        box(*form, "recalculateStatsBox")->click();
        QVERIFY(offered(*form, "importFromLogsBox"));
        QVERIFY(form->options().importFromLogs);
        box(*form, "recalculateStatsBox")->click();
        QVERIFY(withdrawn(*form, "importFromLogsBox"));
        QVERIFY(!form->options().recalculateStats);

        auto* links = form->findChild<QPlainTextEdit*>("ed2kLinksBox");
        const struct {
            QString text;
            std::size_t links;
        } rows[] = {{validLink + "\n\n" + validLink, 2},
                    {validLink + "\nnot a link", 0},
                    {QString(validLink).replace("|file|", "|file|a%2F"), 0},
                    {{}, 0}};
        for (const auto& row : rows) {
            links->setPlainText(row.text);
            QVERIFY2(row.links ? offered(*form, "importFromLinksBox")
                               : withdrawn(*form, "importFromLinksBox"),
                     qPrintable(row.text));
            QCOMPARE(form->options().links.size(), row.links);
        }
    }

    // The backup copy comes from the open-file dialog; known.met itself is
    // refused and a cancelled dialog keeps the copy chosen before.
    void backupCopyIsChosenButNotKnownMetItself() {
        auto form = makeForm();
        auto* select = form->findChild<QPushButton*>("selectSrcBackupBtn");
        QtFileDialogs::setNextFileName(QStringLiteral("/backups/a&b.~met"));
        select->click();
        QCOMPARE(QtFileDialogs::lastShown()->acceptMode, QFileDialog::AcceptOpen);
        QCOMPARE(QtFileDialogs::lastShown()->startFile, QStringLiteral("/profile/config"));
        QVERIFY(offered(*form, "importFromBackupBox"));
        QCOMPARE(select->text(), QStringLiteral("/backups/a&&b.~met"));
        QtFileDialogs::setNextFileName({});
        select->click();
        QCOMPARE(form->options().backupPath, std::string("/backups/a&b.~met"));
        QtFileDialogs::setNextFileName(QStringLiteral("/profile/config/Known.met"));
        select->click();
        QVERIFY(withdrawn(*form, "importFromBackupBox"));
        QCOMPARE(select->text(), QStringLiteral("&Select..."));
        QCOMPARE(prompter_.errors(),
                 std::vector<std::string>{"Please select a backup copy of known.met..."});
    }

    void okIsRefusedWhileEditingIsNotAllowed() {
        auto form = makeForm();
        form->show();
        refusal_ = "Known.met cannot be modified while eMule is running";
        form->findChild<QPushButton*>("okButton")->click();
        QVERIFY(form->isVisible());
        QCOMPARE(prompter_.errors(), std::vector<std::string>{*refusal_});
        refusal_.reset();
        form->findChild<QPushButton*>("okButton")->click();
        QCOMPARE(form->result(), int(QDialog::Accepted));
    }

    void helpFollowsTheFocus() {
        auto form = makeForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        auto* help = form->findChild<QPlainTextEdit*>("helpBox");
        form->findChild<QPlainTextEdit*>("ed2kLinksBox")->setFocus();
        QVERIFY(help->toPlainText().startsWith("This option can be used before eMule"));
        QVERIFY(help->toPlainText().contains("ed2k links"));
        box(*form, "deleteErroneousBox")->setFocus();
        QVERIFY(help->toPlainText().startsWith("This will remove any known file"));
        form->findChild<QPushButton*>("okButton")->setFocus();
        QVERIFY(help->toPlainText().isEmpty());
    }
};

QTEST_MAIN(RepairKMFormTest)
#include "repair_km_test.moc"
