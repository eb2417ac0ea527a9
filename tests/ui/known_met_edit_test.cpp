#include "emulefiles/core/cancelled_met.h"
#include "kmedit/ui/repair_km_form.h"
#include "platform/fake_platform.h"
#include "ui/ui_fixture.h"

namespace pln::test {

const QString validLink = QString::fromStdString("ed2k://|file|a%20b.txt|123|" + hashOf(1) + "|/");

// A known-file log with one record per transferred total.
void writeTransfers(UiProfile& profile, int n, std::initializer_list<std::uint64_t> totals) {
    ByteWriter out;
    std::uint32_t stamp = 0x58210000;
    for (std::uint64_t total : totals) {
        out.u32(stamp += 32);
        out.zeros(8);
        out.u64(total);
    }
    profile.writeLog(hashOf(n), tLogState::active, {}, out.buffer());
}

// The edits on three files; the second is shared by eMule, the first has an
// active log. The clock and the signs of eMule are the test's. Repair last.
class KnownMetEditTest : public WindowSuite {
    Q_OBJECT

private:
    // What the test does with each confirmation; counts them.
    std::function<int(QDialog&)> answer_;
    int dialogs_ = 0;
    RecordingPrompter prompter_;
    std::optional<std::string> refusal_;
    FakeClock clock_;
    FakePortProbe ports_;
    FakeRunningPrograms programs_;
    Platform& os_ = session_.platform();
    Platform platform_{os_.system, os_.files,   os_.mutexes, os_.processes, os_.ini,
                       clock_,     os_.listing, ports_,      programs_};

    // Offered: enabled and ticked; withdrawn (on false): neither.
    static bool offered(QDialog& form, const char* name, bool on = true) {
        const auto& box = child<QCheckBox>(form, name);
        return box.isEnabled() == on && box.isChecked() == on;
    }

    tKnownFilesModel& model() { return form_->knownFilesList().model(); }
    tListView& view() { return form_->knownFilesList().view(); }
    int rowOf(const QString& name) { return test::rowOf(model(), name); }
    void select(const QStringList& names) { selectNamed(view(), names); }
    std::string configFile(const char* n) { return profile_->locations.eMuleConfigFolder + n; }

private slots:
    void init() {
        profile_->add(1, "alpha.avi", 10);
        profile_->add(2, "bravo.mkv", 20);
        profile_->add(3, "charlie.iso", 30);
        profile_->saveKnownMet();
        profile_->share(profile_->known.record(1), "bravo.mkv");
        profile_->writeLog(hashOf(1), tLogState::active);
        writeSettled(profile_->dir, "eMule/config/cancelled.met", emptyKnownMet);
        programs_.running.clear();
        form_ = session_.open(profile_->locations, &platform_);
        QVERIFY(form_ && showExposed(*form_) && listsAllKnownFiles(*form_, 3));
        // No reload pending: the edits are allowed.
        QTRY_VERIFY(!form_->findChild<QTimer*>("timer")->isActive());
        dialogs_ = 0;
        answer_ = [](QDialog&) { return int(QDialog::Rejected); };
        form_->knownMetEdit().setDialogRunner([this](QDialog& dialog) {
            ++dialogs_;
            return answer_(dialog);
        });
        QtPrompter::clearShownBoxes();
    }

    void cleanup() { closeWindow(); }

    void enablingRulesFollowSelectionSharingAndEmule() {
        const tMainActions& a = actions();
        for (const auto& [selected, remove, rename] :
             {std::tuple{QStringList{"alpha.avi", "charlie.iso"}, true, false},
              {QStringList{"charlie.iso"}, true, true},
              {QStringList{"alpha.avi", "bravo.mkv", "charlie.iso"}, false, false},
              {QStringList{"bravo.mkv"}, false, false},
              {QStringList{}, false, false}}) {
            select(selected);
            QCOMPARE(a.aKFDelKnownFile->isEnabled(), remove);
            QCOMPARE(a.aKFMoveToCancelledMet->isEnabled(), remove);
            QCOMPARE(a.aKFRename->isEnabled(), rename);
            QVERIFY(a.aRepairKM->isEnabled());
        }

        // eMule runs: the actions follow once the last look has aged, a command at once.
        programs_.running.insert("eMule.exe");
        select({"charlie.iso"});
        form_->knownMetEdit().aKFRenameExecute();
        QVERIFY(a.aKFRename->isEnabled() && !view().findChild<QLineEdit*>());
        clock_.nowMs += 1000;
        select({"alpha.avi"});
        QVERIFY(!a.aKFDelKnownFile->isEnabled() && !a.aRepairKM->isEnabled());
    }

    void confirmationRecordsItsFlagsWhateverTheButton() {
        select({"alpha.avi"});
        const std::string backup = profile_->dir.file("known-copy.~met");
        QString failedCaption, doneCaption;
        bool backupCMEnabled = false, delLogChecked = false;
        answer_ = [&](QDialog& dialog) {
            auto& backupKM = child<QPushButton>(dialog, "aBackupKM");
            backupCMEnabled = child<QPushButton>(dialog, "aBackupCM").isEnabled();
            delLogChecked = child<QCheckBox>(dialog, "delLogBox").isChecked();
            QtFileDialogs::setNextFileName(
                QString::fromStdString(profile_->dir.file("no such folder/known.~met")));
            backupKM.click();
            failedCaption = backupKM.text();
            QtFileDialogs::setNextFileName(QString::fromStdString(backup));
            backupKM.click();
            doneCaption = backupKM.text();
            child<QCheckBox>(dialog, "delLogBox").setChecked(false);
            child<QCheckBox>(dialog, "dontAskBox").setChecked(true);
            return int(QDialog::Rejected);
        };
        const auto before = readBytes(configFile("known.met"));
        actions().aKFMoveToCancelledMet->trigger();
        QCOMPARE(dialogs_, 1);
        QVERIFY(backupCMEnabled && delLogChecked);
        QCOMPARE(failedCaption + " / " + doneCaption,
                 "Backup &known.met... / Backup &known.met... (Done)");
        QCOMPARE(QtPrompter::shownBoxes().size(), std::size_t(1));
        QCOMPARE(QtPrompter::shownBoxes()[0].text, "Backup failed.");
        QtPrompter::clearShownBoxes();
        QCOMPARE(QtFileDialogs::lastShown()->startFile,
                 QString::fromStdString(configFile("known.~met")));
        QCOMPARE(readBytes(backup), before);
        QCOMPARE(readBytes(configFile("known.met")), before);
        QVERIFY(form_->knownMetEdit().session().knownMetBackedUp());

        // Cancelled, yet not asked again; the unticked log box still holds.
        actions().aKFMoveToCancelledMet->trigger();
        QCOMPARE(dialogs_, 1);
        QCOMPARE(profile_->transfersOnDisk(), "bravo.mkv=0 charlie.iso=0");
        QCOMPARE(model().rowCount(), 2);
        QVERIFY(profile_->logExists(hashOf(1), ".pln_on"));
        tCancelledMet cancelled(configFile("cancelled.met"), session_.platform().files);
        cancelled.load();
        QCOMPARE(cancelled.list()->count(), std::size_t(1));
        QVERIFY(QtPrompter::shownBoxes().empty());

        // Set unknown still asks; with the log box ticked the log goes.
        answer_ = [](QDialog&) { return int(QDialog::Accepted); };
        select({"charlie.iso"});
        actions().aKFDelKnownFile->trigger();
        QCOMPARE(dialogs_, 2);
        QCOMPARE(profile_->transfersOnDisk(), "bravo.mkv=0");

        // eMule rewrites known.met: the backup no longer counts.
        QVERIFY(form_->knownMetEdit().session().knownMetBackedUp());
        writeSettled(profile_->dir, "eMule/config/known.met", emptyKnownMet);
        select({"bravo.mkv"});
        QVERIFY(!form_->knownMetEdit().session().knownMetBackedUp());
    }

    void renameInPlaceCleansAsksAndSaves() {
        select({"alpha.avi"});
        auto rename = [&](const QString& text) {
            QTRY_VERIFY(!view().findChild<QLineEdit*>());
            actions().aKFRename->trigger();
            QLineEdit* editor = view().findChild<QLineEdit*>();
            QVERIFY(editor);
            editor->setText(text);
            QTest::keyClick(editor, Qt::Key_Return);
        };
        const auto before = readBytes(configFile("known.met"));
        rename("a:b?c");
        // The name is taken once the editor has closed.
        QTRY_COMPARE(dialogs_, 1);
        QCOMPARE(QtPrompter::shownBoxes().size(), std::size_t(1));
        QCOMPARE(QtPrompter::shownBoxes()[0].text,
                 "The following characters are not allowed in windows filenames:\r"
                 "\\/:*?\"<>|");
        QCOMPARE(model().index(rowOf("alpha.avi"), 0).data().toString(), "alpha.avi");
        QCOMPARE(readBytes(configFile("known.met")), before);

        answer_ = [](QDialog&) { return int(QDialog::Accepted); };
        rename("a:b?c");
        QTRY_COMPARE(dialogs_, 2);
        QVERIFY(rowOf("abc") >= 0);
        QCOMPARE(profile_->transfersOnDisk(), "abc=0 bravo.mkv=0 charlie.iso=0");

        // A shared file's name cannot be edited, even when asked directly.
        QTRY_VERIFY(!view().findChild<QLineEdit*>());
        select({"bravo.mkv"});
        form_->knownMetEdit().aKFRenameExecute();
        QVERIFY(!view().findChild<QLineEdit*>());
    }

    // Without a recorder the repair runs at once; the list shows the
    // repaired file, and after a failure what is on disk.
    void repairFromTheMainWindow() {
        UiProfile profile;
        profile.writePreferences("");
        profile.add(1, "alpha.avi", 10, 5);
        profile.add(2, "", 10);
        profile.saveKnownMet();
        writeTransfers(profile, 1, {100});
        writeTransfers(profile, 9, {10, 20, 5});
        auto form = session_.open(profile.locations);
        QVERIFY(showExposed(*form) && listsAllKnownFiles(*form, 2));
        tKnownFilesModel& model = form->knownFilesList().model();

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
        const QString repaired = "Unknown filename=25 alpha.avi=105";
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
    // withdrawn when it no longer is. The backup copy comes from the open-file
    // dialog, which refuses known.met itself and, cancelled, keeps the copy
    // chosen before. The help follows the focus; Ok is refused while edits are barred.
    void repairFormOptionsBackupHelpAndOk() {
        tRepairKMForm form(nullptr, {"/profile/config/known.met", prompter_, false,
                                     [](bool) { return true; }, [this] { return refusal_; }});
        for (const char* name : {"importFromBackupBox", "importFromLinksBox", "importFromLogsBox"})
            QVERIFY2(offered(form, name, false), name);
        QVERIFY(child<QCheckBox>(form, "deleteErroneousBox").isEnabled());
        child<QCheckBox>(form, "recalculateStatsBox").click();
        QVERIFY(offered(form, "importFromLogsBox") && form.options().importFromLogs);
        child<QCheckBox>(form, "recalculateStatsBox").click();
        QVERIFY(offered(form, "importFromLogsBox", false) && !form.options().recalculateStats);

        auto* links = form.findChild<QPlainTextEdit*>("ed2kLinksBox");
        for (const auto& [text, count] : {std::pair{validLink + "\n\n" + validLink, std::size_t{2}},
                                          {validLink + "\nnot a link", 0},
                                          {QString(validLink).replace("|file|", "|file|a%2F"), 0},
                                          {QString(), 0}}) {
            links->setPlainText(text);
            QVERIFY2(offered(form, "importFromLinksBox", count > 0), qPrintable(text));
            QCOMPARE(form.options().links.size(), count);
        }

        auto* select = form.findChild<QPushButton*>("selectSrcBackupBtn");
        QtFileDialogs::setNextFileName(QStringLiteral("/backups/a&b.~met"));
        select->click();
        QCOMPARE(QtFileDialogs::lastShown()->acceptMode, QFileDialog::AcceptOpen);
        QCOMPARE(QtFileDialogs::lastShown()->startFile, QStringLiteral("/profile/config"));
        QVERIFY(offered(form, "importFromBackupBox"));
        QCOMPARE(select->text(), QStringLiteral("/backups/a&&b.~met"));
        QtFileDialogs::setNextFileName({});
        select->click();
        QCOMPARE(form.options().backupPath, std::string("/backups/a&b.~met"));
        QtFileDialogs::setNextFileName(QStringLiteral("/profile/config/Known.met"));
        select->click();
        QVERIFY(offered(form, "importFromBackupBox", false));
        QCOMPARE(select->text(), QStringLiteral("&Select..."));
        QCOMPARE(prompter_.errors(),
                 std::vector<std::string>{"Please select a backup copy of known.met..."});
        prompter_.shown.clear();

        QVERIFY(showExposed(form, {}, true));
        auto* help = form.findChild<QPlainTextEdit*>("helpBox");
        links->setFocus();
        QVERIFY(help->toPlainText().startsWith("This option can be used before eMule"));
        QVERIFY(help->toPlainText().contains("ed2k links"));
        child<QCheckBox>(form, "deleteErroneousBox").setFocus();
        QVERIFY(help->toPlainText().startsWith("This will remove any known file"));
        auto* ok = form.findChild<QPushButton*>("okButton");
        ok->setFocus();
        QVERIFY(help->toPlainText().isEmpty());

        refusal_ = "Known.met cannot be modified while eMule is running";
        ok->click();
        QVERIFY(form.isVisible());
        QCOMPARE(prompter_.errors(), std::vector<std::string>{*refusal_});
        refusal_.reset();
        ok->click();
        QCOMPARE(form.result(), int(QDialog::Accepted));
    }
};

} // namespace pln::test

QTEST_MAIN(pln::test::KnownMetEditTest)
#include "known_met_edit_test.moc"
