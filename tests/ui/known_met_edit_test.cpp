#include "app/ui/known_files_list.h"
#include "app/ui/known_met_edit_command.h"
#include "app/ui/list_view.h"
#include "app/ui/main_form.h"
#include "app/ui/qt_prompter.h"
#include "emulefiles/core/cancelled_met.h"
#include "kmedit/core/emule_running.h"
#include "links/ui/qt_file_dialogs.h"
#include "ui/ui_fixture.h"
#include "ui/ui_profile.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace pln;
using test::child;
using test::hashOf;
using test::UiProfile;

// Three files; the second is shared by eMule. The first has an active log.
class KnownMetEditTest : public QObject {
    Q_OBJECT

private:
    test::UiSession session_;
    std::unique_ptr<UiProfile> profile_;
    std::unique_ptr<tMainForm> form_;
    // What the test does with each confirmation; counts them.
    std::function<int(QDialog&)> answer_;
    int dialogs_ = 0;

    tKnownFilesModel& model() { return form_->knownFilesList().model(); }
    tListView& view() { return form_->knownFilesList().view(); }
    const tMainActions& actions() { return form_->actions(); }
    int rowOf(const QString& name) { return test::rowOf(model(), name); }
    void select(const QStringList& names) { test::selectNamed(view(), names); }
    // Files that transferred nothing, as transfersOnDisk lists them.
    std::map<std::string, std::uint64_t> onDisk(std::initializer_list<const char*> names) {
        std::map<std::string, std::uint64_t> files;
        for (const char* name : names)
            files[name] = 0;
        return files;
    }
    std::string configFile(const char* name) {
        return profile_->locations.eMuleConfigFolder + name;
    }

private slots:
    void init() {
        profile_ = std::make_unique<UiProfile>();
        profile_->add(1, "alpha.avi", 10);
        profile_->add(2, "bravo.mkv", 20);
        profile_->add(3, "charlie.iso", 30);
        profile_->saveKnownMet();
        profile_->share(profile_->known.record(1), "bravo.mkv");
        profile_->writeLog(hashOf(1), tLogState::active);
        // An empty plain cancelled.met.
        test::writeSettled(profile_->dir, "eMule/config/cancelled.met",
                           std::string("\x0E\x00\x00\x00\x00", 5));
        // The port of no eMule on this machine.
        profile_->writePreferences("");
        form_ = session_.open(profile_->locations);
        QVERIFY(form_ && test::showExposed(*form_));
        QVERIFY(test::listsAllKnownFiles(*form_, 3));
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

    void cleanup() {
        form_.reset();
        profile_.reset();
    }

    void enablingRulesFollowSelectionSharingAndEmule() {
        struct Case {
            QStringList selected;
            bool remove, rename;
        };
        for (const Case& c :
             {Case{{"alpha.avi", "charlie.iso"}, true, false}, Case{{"charlie.iso"}, true, true},
              Case{{"alpha.avi", "bravo.mkv", "charlie.iso"}, false, false},
              Case{{"bravo.mkv"}, false, false}, Case{{}, false, false}}) {
            select(c.selected);
            QCOMPARE(actions().aKFDelKnownFile->isEnabled(), c.remove);
            QCOMPARE(actions().aKFMoveToCancelledMet->isEnabled(), c.remove);
            QCOMPARE(actions().aKFRename->isEnabled(), c.rename);
            QVERIFY(actions().aRepairKM->isEnabled());
        }

        // eMule starts on its port: every edit stops.
        profile_->writePreferences("4711");
        auto marker = session_.platform().mutexes.create(emuleInstanceMarker("4711"));
        QCOMPARE(marker.outcome, MutexOutcome::Created);
        select({"charlie.iso"});
        QVERIFY(!actions().aKFRename->isEnabled());
        QVERIFY(!actions().aKFDelKnownFile->isEnabled());
        QVERIFY(!actions().aRepairKM->isEnabled());
    }

    void confirmationRecordsItsFlagsWhateverTheButton() {
        select({"alpha.avi"});
        const std::string backup = profile_->dir.file("known-copy.~met");
        QString title, failedCaption, doneCaption;
        bool backupCMEnabled = false, delLogChecked = false;
        answer_ = [&](QDialog& dialog) {
            title = dialog.windowTitle();
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
        const auto before = test::readBytes(configFile("known.met"));
        actions().aKFMoveToCancelledMet->trigger();
        QCOMPARE(dialogs_, 1);
        QCOMPARE(title, "Set as cancelled file(s)");
        QVERIFY(backupCMEnabled);
        QVERIFY(delLogChecked);
        QCOMPARE(failedCaption, "Backup &known.met...");
        QCOMPARE(QtPrompter::shownBoxes().size(), std::size_t(1));
        QCOMPARE(QtPrompter::shownBoxes()[0].title, "PLN");
        QCOMPARE(QtPrompter::shownBoxes()[0].text, "Backup failed.");
        QCOMPARE(QtPrompter::shownBoxes()[0].icon, QMessageBox::Warning);
        QtPrompter::clearShownBoxes();
        QCOMPARE(doneCaption, "Backup &known.met... (Done)");
        QCOMPARE(QtFileDialogs::lastShown()->caption, "Backup your known.met file as");
        QCOMPARE(QtFileDialogs::lastShown()->startFile,
                 QString::fromStdString(configFile("known.~met")));
        QCOMPARE(test::readBytes(backup), before);
        QCOMPARE(test::readBytes(configFile("known.met")), before);
        QVERIFY(form_->knownMetEdit().session().knownMetBackedUp());

        // Cancelled, yet not asked again; the unticked log box still holds.
        actions().aKFMoveToCancelledMet->trigger();
        QCOMPARE(dialogs_, 1);
        QCOMPARE(profile_->transfersOnDisk(), onDisk({"bravo.mkv", "charlie.iso"}));
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
        QCOMPARE(profile_->transfersOnDisk(), onDisk({"bravo.mkv"}));

        // eMule rewrites known.met: the backup no longer counts.
        QVERIFY(form_->knownMetEdit().session().knownMetBackedUp());
        test::writeSettled(profile_->dir, "eMule/config/known.met", test::emptyKnownMet);
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
        QString title;
        const auto before = test::readBytes(configFile("known.met"));
        rename("a:b?c");
        // The name is taken once the editor has closed.
        QTRY_COMPARE(dialogs_, 1);
        QCOMPARE(QtPrompter::shownBoxes().size(), std::size_t(1));
        QCOMPARE(QtPrompter::shownBoxes()[0].text,
                 "The following characters are not allowed in windows filenames:\r"
                 "\\/:*?\"<>|");
        QCOMPARE(QtPrompter::shownBoxes()[0].icon, QMessageBox::Warning);
        QCOMPARE(model().index(rowOf("alpha.avi"), 0).data().toString(), "alpha.avi");
        QCOMPARE(test::readBytes(configFile("known.met")), before);

        answer_ = [&](QDialog& dialog) {
            title = dialog.windowTitle();
            return int(QDialog::Accepted);
        };
        rename("a:b?c");
        QTRY_COMPARE(dialogs_, 2);
        QCOMPARE(title, "Rename");
        QVERIFY(rowOf("abc") >= 0);
        QCOMPARE(profile_->transfersOnDisk(), onDisk({"abc", "bravo.mkv", "charlie.iso"}));

        // A shared file's name cannot be edited, even when asked directly.
        QTRY_VERIFY(!view().findChild<QLineEdit*>());
        select({"bravo.mkv"});
        form_->knownMetEdit().aKFRenameExecute();
        QVERIFY(!view().findChild<QLineEdit*>());
        select({"charlie.iso"});
        form_->knownMetEdit().aKFRenameExecute();
        QVERIFY(view().findChild<QLineEdit*>());
    }
};

QTEST_MAIN(KnownMetEditTest)
#include "known_met_edit_test.moc"
