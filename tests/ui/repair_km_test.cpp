#include "app/ui/known_files_list.h"
#include "app/ui/main_form.h"
#include "app/ui/qt_prompter.h"
#include "kmedit/ui/repair_km_form.h"
#include "support/recording_prompter.h"
#include "ui/ui_fixture.h"
#include "ui/ui_profile.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
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

std::map<std::string, std::uint64_t> transfersOnDisk(const test::UiProfile& profile,
                                                     Platform& platform) {
    tKnownMet known(profile.locations.eMuleConfigFolder + "known.met", platform.files,
                    platform.clock);
    known.load();
    std::map<std::string, std::uint64_t> transfers;
    for (std::size_t i = 0; i < known.list()->count(); ++i)
        transfers[known.list()->record(i).getFileName()] = known.list()->record(i).getTransferred();
    return transfers;
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
        test::writeSettled(profile.dir, "eMule/config/preferences.ini",
                           "[eMule]\r\nPort=\r\nIncomingDir=" + profile.dir.file("eMule/Incoming") +
                               "\r\n");
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
        QCOMPARE(transfersOnDisk(profile, session.platform()), repaired);
        QCOMPARE(form->statusBar()->currentMessage(),
                 QStringLiteral("Repair: 1 record(s) imported, 1 repaired, 1 deleted."));

        choose = [](tRepairKMForm& dialog) {
            dialog.backupChosen(QStringLiteral("/nonexistent/known.~met"));
            dialog.findChild<QCheckBox*>("deleteErroneousBox")->click();
        };
        form->repair().execute();
        QCOMPARE(QtPrompter::shownBoxes().size(), std::size_t{1});
        QCOMPARE(QtPrompter::shownBoxes().front().icon, QMessageBox::Critical);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(transfersOnDisk(profile, session.platform()), repaired);
    }

    void optionsStartAsOffered() {
        auto form = makeForm();
        QVERIFY(withdrawn(*form, "importFromBackupBox"));
        QVERIFY(withdrawn(*form, "importFromLinksBox"));
        QVERIFY(withdrawn(*form, "importFromLogsBox"));
        QVERIFY(box(*form, "recalculateStatsBox")->isEnabled());
        QVERIFY(box(*form, "deleteErroneousBox")->isEnabled());
        QCOMPARE(form->findChild<QToolButton*>("backupKMBtn")->text(),
                 QStringLiteral("Backup &known.met..."));
    }

    void linksOptionFollowsTheBox() {
        auto form = makeForm();
        auto* links = form->findChild<QPlainTextEdit*>("ed2kLinksBox");
        links->setPlainText(validLink + "\n\n" + validLink);
        QVERIFY(offered(*form, "importFromLinksBox"));
        QCOMPARE(form->options().links.size(), std::size_t{2});
        links->setPlainText(validLink + "\nnot a link");
        QVERIFY(withdrawn(*form, "importFromLinksBox"));
        links->setPlainText(QString(validLink).replace("|file|", "|file|a%2F"));
        QVERIFY(withdrawn(*form, "importFromLinksBox"));
        QVERIFY(form->options().links.empty());
        links->setPlainText(QString());
        QVERIFY(withdrawn(*form, "importFromLinksBox"));
    }

    void recalculationOffersImportFromLogs() {
        auto form = makeForm();
        box(*form, "recalculateStatsBox")->click();
        QVERIFY(offered(*form, "importFromLogsBox"));
        QVERIFY(form->options().importFromLogs);
        box(*form, "recalculateStatsBox")->click();
        QVERIFY(withdrawn(*form, "importFromLogsBox"));
        QVERIFY(!form->options().recalculateStats);
    }

    void knownMetItselfIsNoBackup() {
        auto form = makeForm();
        auto* select = form->findChild<QPushButton*>("selectSrcBackupBtn");
        form->backupChosen(QStringLiteral("/backups/a&b.~met"));
        QVERIFY(offered(*form, "importFromBackupBox"));
        QCOMPARE(select->text(), QStringLiteral("/backups/a&&b.~met"));
        QCOMPARE(form->options().backupPath, std::string("/backups/a&b.~met"));
        form->backupChosen(QStringLiteral("/profile/config/Known.met"));
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
