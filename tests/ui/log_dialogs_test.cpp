#include "logstore/ui/combine_form.h"
#include "logstore/ui/new_log_wizard.h"
#include "ui/ui_fixture.h"

namespace pln::test {

const std::string uploaded = "statistics.ini-statistics,TotalUploadedBytes";
const std::string sessions = "statistics.ini-statistics,UpSuccessfulSessions";
const std::string connRunTime = "statistics.ini-statistics,ConnRunTime";
const std::string maxUpload = "preferences.ini-eMule,MaxUpload";
constexpr int logColumn = 1, graphicColumn = 5;

QStringList texts(const QTreeWidgetItem* parent) {
    QStringList out;
    for (int i = 0; i < parent->childCount(); ++i)
        out << parent->child(i)->text(0);
    return out;
}

// The one item of the tree that reads text, at whatever depth.
QTreeWidgetItem* node(QTreeWidget& tree, const QString& text) {
    const auto found = tree.findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.size() != 1)
        qFatal("no single node %s", qPrintable(text));
    return found[0];
}

// The new-log wizard says in its status line why Ok is disabled, and says
// nothing while it is enabled; a status that disagrees fails the caller's
// expectation whichever it is.
bool okEnabled(QWidget& dialog) {
    const bool enabled = child<QPushButton>(dialog, "okBtn").isEnabled();
    const auto* status = dialog.findChild<QLabel*>("statusLabel");
    return status && status->text().isEmpty() != enabled ? !enabled : enabled;
}

tLogHeader headerOf(const std::string& path) {
    const std::vector<std::uint8_t> bytes = readBytes(path);
    if (bytes.size() < headerEnd)
        return {};
    return decodeHeader(
        std::span<const std::uint8_t, logHeaderSize>(bytes.data() + logPrefixSize, logHeaderSize));
}

class LogDialogsTest : public WindowSuite {
    Q_OBJECT

private:
    tStatsLogsModel& model() { return form_->statsLogsList().model(); }
    tListView& view() { return form_->statsLogsList().view(); }
    void select(const QStringList& values) { selectNamed(view(), values); }
    std::string currentLog() { return model().logAt(view().currentIndex().row())->name(); }
    void openMainForm() {
        form_ = session_.open(profile_->locations);
        QTRY_VERIFY(form_ && model().rowCount() > 0);
    }
    QString cell(QString v, int c) { return model().index(rowOf(model(), v), c).data().toString(); }

private slots:
    void init() {
        QLocale::setDefault(QLocale::c());
        UiProfile& p = *profile_;
        writeSettled(
            p.dir, "eMule/config/statistics.ini",
            "[statistics]\r\nTotalUploadedBytes=1000\r\nUpSuccessfulSessions=3\r\n"
            "ConnRunTime=42\r\nTotalDownloadedBytes=5000\r\nb=12abc\r\nAvgRatio=-3.5\r\nempty=\r\n"
            "[Texts]\r\nName=eMule\r\n");
        writeSettled(p.dir, "eMule/config/preferences.ini",
                     "[eMule]\r\nPort=4662\r\nIncomingDir=" + p.dir.file("eMule/Incoming") +
                         "\r\nOnlineSignature=1\r\n[WebServer]\r\nenabled=0\r\n");
        p.dir.write("eMule/config/words.ini", "[a]\r\nx=y\r\n");
        p.dir.write("eMule/config/numbers.txt", "[a]\r\nx=1\r\n");
        p.dir.write("eMule/onlinesig.dat", "1|srv|1.2.3.4|4661\n1.5|2.5|7");
        p.writeLog(uploaded, tLogState::active, {valueTypeLong, 1, 1.0, "kB"});
        p.writeLog(sessions, tLogState::active, {valueTypeInteger, 1, 1.0, ""});
        QtPrompter::clearShownBoxes();
    }

    void cleanup() {
        closeWindow();
        QLocale::setDefault(QLocale::c());
        QVERIFY(QtPrompter::shownBoxes().empty());
    }

    void treeShowsTheNumericValuesAndSelectionSetsTypeFlagsAndOk() {
        profile_->writeLog("Queued clients", tLogState::inactive, {valueTypeInteger, 0, 1, ""});
        Platform& p = session_.platform();
        const tLocations& l = profile_->locations;
        tNewLogWizard wizard(
            nullptr, {p.ini, p.listing, l.eMuleConfigFolder, l.eMuleConfigBase, l.logsFolder});
        QTreeWidget& tree = child<QTreeWidget>(wizard, "tree");
        const QStringList files = texts(tree.invisibleRootItem());
        QVERIFY(files.size() == 3 && files.contains("statistics.ini") &&
                files.contains("preferences.ini"));
        QCOMPARE(files.last(), "- Special logs -");
        QCOMPARE(texts(node(tree, "statistics.ini")), QStringList{"statistics"});
        QCOMPARE(texts(node(tree, "statistics")),
                 QStringList({"AvgRatio = -3.5", "ConnRunTime = 42", "TotalDownloadedBytes = 5000",
                              "TotalUploadedBytes = 1000", "UpSuccessfulSessions = 3"}));
        QCOMPARE(texts(node(tree, "preferences.ini")), QStringList({"eMule", "WebServer"}));
        QCOMPARE(texts(node(tree, "eMule")), QStringList({"OnlineSignature = 1", "Port = 4662"}));
        QCOMPARE(texts(node(tree, "onlinesig.dat")), QStringList{"Queued clients = 7"});

        const auto pick = [&](const char* text) {
            tree.setCurrentItem(node(tree, text));
            return okEnabled(wizard);
        };
        auto on = [&](const char* n) { return child<QAbstractButton>(wizard, n).isChecked(); };
        QVERIFY(!okEnabled(wizard) && !pick("statistics"));
        QVERIFY(pick("AvgRatio = -3.5") && on("typeReal"));
        child<QRadioButton>(wizard, "typeShort").setChecked(true);
        pick("Port = 4662");
        QVERIFY(on("typeShort") && on("flagsSavedOnChangeBox"));
        pick("AvgRatio = -3.5");
        pick("ConnRunTime = 42");
        QVERIFY(on("typeLong") && !on("flagsSavedOnChangeBox"));

        QLineEdit& multiplier = child<QLineEdit>(wizard, "multiplierBox");
        multiplier.setText("3/0");
        QVERIFY(!okEnabled(wizard));
        multiplier.setText(" 1 / 2 ");
        QVERIFY(okEnabled(wizard));
        // Already logged values cannot be chosen again.
        QVERIFY(!pick("UpSuccessfulSessions = 3"));

        child<QCheckBox>(wizard, "flagsCumulBox").setChecked(true);
        QVERIFY(!pick("Queued clients = 7") && on("typeInteger") && !on("flagsCumulBox"));
        QVERIFY(!child<QGroupBox>(wizard, "typeBox").isEnabled());
        QVERIFY(!child<QCheckBox>(wizard, "flagsCumulBox").isEnabled());
        wizard.accept();
        QCOMPARE(wizard.result(), int(QDialog::Rejected));
    }

    void creatingAStatsLogAndACombinedLog() {
        openMainForm();
        BusRecorder recorder(profile_->locations);
        QTRY_VERIFY(actions().aIniNewLog->isEnabled());
        QVERIFY(whileModal<tNewLogWizard>(
            [&] { actions().aIniNewLog->trigger(); },
            [](tNewLogWizard& wizard) {
                QTreeWidget& tree = child<QTreeWidget>(wizard, "tree");
                tree.setCurrentItem(node(tree, "TotalDownloadedBytes = 5000"));
                child<QCheckBox>(wizard, "flagsCumulBox").setChecked(true);
                child<QLineEdit>(wizard, "unitsBox").setText("MB");
                child<QLineEdit>(wizard, "multiplierBox").setText("1/1048576");
                child<QPushButton>(wizard, "okBtn").click();
            }));
        const std::string downloaded = "statistics.ini-statistics,TotalDownloadedBytes";
        const tLogHeader header = headerOf(profile_->logPath(downloaded, ".pln_on"));
        QCOMPARE(header.valueType, valueTypeLong);
        QCOMPARE(header.flags, flagCumulative);
        QCOMPARE(header.multiplier, 1.0 / 1048576);
        QCOMPARE(header.units, "MB");
        QCOMPARE(currentLog(), downloaded);
        QVERIFY(view().selectionModel()->isRowSelected(rowOf(model(), "TotalDownloadedBytes"), {}));
        QTRY_VERIFY(recorder.hears(recorder.names.msgNewLogs, 0));

        // A decimal comma locale: "2.5" is taken as well as "0,5".
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        select({"TotalUploadedBytes", "UpSuccessfulSessions", "TotalDownloadedBytes"});
        QTRY_VERIFY(!actions().aIniCombine->isEnabled());
        select({"UpSuccessfulSessions", "TotalUploadedBytes"});
        QTRY_VERIFY(actions().aIniCombine->isEnabled());
        QVERIFY(whileModal<tCombineForm>(
            [&] { actions().aIniCombine->trigger(); },
            [](tCombineForm& combine) {
                child<QRadioButton>(combine, "op3").setChecked(true);
                child<QLineEdit>(combine, "titleBox").setText("Per session");
                child<QLineEdit>(combine, "multiplierBox").setText("0,5");
                child<QCheckBox>(combine, "useMaxValueBox").click();
                QVERIFY(!okEnabled(combine));
                child<QLineEdit>(combine, "maxValueBox").setText("2.5");
                child<QPushButton>(combine, "okBtn").click();
            }));
        const std::string combined = "virtual;Per session";
        const std::vector<std::uint8_t> bytes = readBytes(profile_->logPath(combined, ".pln_on"));
        QCOMPARE(bytes.size(), combineEnd);
        const auto block = decodeCombineBlock(std::span(bytes).subspan(headerEnd));
        QVERIFY(block);
        QCOMPARE(block->operation, tLogOperation::quotient);
        QCOMPARE(block->sourceNames[0], uploaded);
        QCOMPARE(block->sourceNames[1], sessions);
        QCOMPARE(block->maxValue, 2.5);
        QCOMPARE(headerOf(profile_->logPath(combined, ".pln_on")).multiplier, 0.5);
        QCOMPARE(currentLog(), combined);

        select({"Per session", "TotalUploadedBytes"});
        QTRY_VERIFY(!actions().aIniCombine->isEnabled());
    }

    void editingBothKinds() {
        profile_->writeLog("Queued clients", tLogState::active, {valueTypeShort, 4, 2.5, "q"});
        profile_->dir.write(
            "PLN/PLN logs/virtual;Old.pln_off",
            encodeNewLog(tLogKind::virtualLog, {valueTypeReal, 0, 1.0 / 3, "kB"},
                         {tLogOperation::difference, {uploaded, sessions}, 1234567}));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        openMainForm();

        select({"Queued clients"});
        QTRY_VERIFY(actions().aIniEditLog->isEnabled());
        QVERIFY(whileModal<tNewLogWizard>(
            [&] { actions().aIniEditLog->trigger(); },
            [](tNewLogWizard& wizard) {
                QTreeWidget& tree = child<QTreeWidget>(wizard, "tree");
                QCOMPARE(tree.topLevelItemCount(), 1);
                QCOMPARE(tree.currentItem()->text(0), "Queued clients = 7");
                QVERIFY(child<QRadioButton>(wizard, "typeShort").isChecked());
                QVERIFY(!child<QGroupBox>(wizard, "typeBox").isEnabled());
                QVERIFY(!child<QCheckBox>(wizard, "flagsCumulBox").isEnabled());
                QCOMPARE(child<QLineEdit>(wizard, "multiplierBox").text(), "2,5");
                child<QLineEdit>(wizard, "unitsBox").setText("clients");
                child<QCheckBox>(wizard, "flagsShowWithRequestsBox").setChecked(false);
                child<QPushButton>(wizard, "okBtn").click();
            }));
        tLogHeader header = headerOf(profile_->logPath("Queued clients", ".pln_on"));
        QCOMPARE(header.valueType, valueTypeShort);
        QCOMPARE(header.flags, std::uint8_t(0));
        QCOMPARE(header.units, "clients");
        QCOMPARE(currentLog(), "Queued clients");

        select({"Old"});
        QTRY_VERIFY(actions().aIniEditLog->isEnabled());
        QVERIFY(whileModal<tCombineForm>(
            [&] { actions().aIniEditLog->trigger(); },
            [](tCombineForm& combine) {
                QVERIFY(child<QRadioButton>(combine, "op1").isChecked());
                QCOMPARE(child<QLineEdit>(combine, "multiplierBox").text(), "0,333333");
                QVERIFY(child<QLineEdit>(combine, "maxValueBox").isEnabled());
                QLineEdit& title = child<QLineEdit>(combine, "titleBox");
                QCOMPARE(title.text(), "Old");
                title.setText("Ne?w");
                QVERIFY(!okEnabled(combine));
                title.setText("New");
                child<QLineEdit>(combine, "unitsBox").setText("MB");
                child<QPushButton>(combine, "okBtn").click();
            }));
        QVERIFY(!profile_->logExists("virtual;Old", ".pln_off"));
        const std::string path = profile_->logPath("virtual;New", ".pln_off");
        QCOMPARE(readBytes(path).size(), combineEnd);
        header = headerOf(path);
        QCOMPARE(header.units, "MB");
        // The shown text rounds the multiplier; left alone, it stays exact.
        QCOMPARE(header.multiplier, 1.0 / 3);
        const std::vector<std::uint8_t> bytes = readBytes(path);
        QCOMPARE(decodeCombineBlock(std::span(bytes).subspan(headerEnd))->maxValue, 1234567.0);
        QCOMPARE(currentLog(), "virtual;New");
    }

    // The list's own logs, as the model shows them (their order and texts are
    // the table's): a swapped log returns to its graph; ticks switch the logs
    // but not the permanent one, and deletion spares it too.
    void swapTicksAndDeletionOfTheListsLogs() {
        UiProfile& p = *profile_;
        p.writeLog(connRunTime, tLogState::permanent, {valueTypeInteger, 1, 24.0, "Hours / day"});
        p.writeLog(maxUpload, tLogState::active, {valueTypeInteger, 2, 1.0, "kBytes / sec"});
        p.dir.write("PLN/PLN logs/virtual;Per session.pln_on",
                    encodeNewLog(tLogKind::virtualLog, {valueTypeReal, 0, 1.0, "kB"},
                                 {tLogOperation::quotient, {uploaded, sessions}}));
        std::filesystem::rename(p.logPath(sessions, ".pln_on"), p.logPath(sessions, ".pln_off"));
        openMainForm();
        testModel(model());
        QTRY_COMPARE(model().rowCount(), 5);
        QVERIFY(showExposed(*form_, {}, true));
        view().setFocus();
        view().setCurrentIndex(model().index(rowOf(model(), "MaxUpload"), 0));
        // The menu opened from the keyboard acts on the list that had the
        // focus; Alt and the keypad's Enter open the focused log.
        QTest::keyClick(form_.get(), Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(actions().statsMenu->isVisible());
        QVERIFY(actions().aIniSwapGraph->isEnabled());
        actions().statsMenu->close();
        select({"MaxUpload"});
        QVERIFY(whileModal(
            [&] { QTest::keyClick(&view(), Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier); },
            [](QDialog&) {}));
        actions().aIniSwapGraph->trigger();
        QCOMPARE(cell("MaxUpload", graphicColumn), "Requests");
        const auto flags = [&] { return form_->session().logFiles().findLog(maxUpload)->flags(); };
        QCOMPARE(flags(), std::uint8_t(2 | flagShowWithRequests));
        form_->session().logFiles().scanLogs();
        QCOMPARE(flags(), std::uint8_t(2 | flagShowWithRequests));
        form_->statsLogsList().logFilesLoaded();
        view().setCurrentIndex(model().index(rowOf(model(), "MaxUpload"), 0));
        actions().aIniSwapGraph->trigger();
        QCOMPARE(cell("MaxUpload", graphicColumn), "Transfers");
        QCOMPARE(flags(), std::uint8_t(2));

        QCOMPARE(columnTexts(model(), logColumn).join(' '),
                 "Permanent Active Active Active Inactive");
        QVERIFY(ticked(model(), "ConnRunTime") && !ticked(model(), "UpSuccessfulSessions"));
        select({"MaxUpload", "ConnRunTime", "TotalUploadedBytes"});
        QVERIFY(setTick(model(), "MaxUpload", false));
        QVERIFY(profile_->logExists(maxUpload, ".pln_off") &&
                profile_->logExists(uploaded, ".pln_off"));
        QVERIFY(profile_->logExists(connRunTime, ".pln") && ticked(model(), "ConnRunTime"));
        QCOMPARE(cell("ConnRunTime", logColumn) + ' ' + cell("MaxUpload", logColumn),
                 "Permanent Inactive");

        select({"ConnRunTime", "UpSuccessfulSessions", "Per session"});
        QTRY_VERIFY(actions().aIniDelLog->isEnabled());
        QtPrompter::setNextAnswer(true);
        actions().aIniDelLog->trigger();
        QtPrompter::clearShownBoxes();
        QCOMPARE(columnTexts(model()).join(' '), "ConnRunTime MaxUpload TotalUploadedBytes");
        QVERIFY(!profile_->logExists(sessions, ".pln_off") &&
                !profile_->logExists("virtual;Per session", ".pln_on"));
        QVERIFY(profile_->logExists(connRunTime, ".pln"));
        QTRY_VERIFY(!actions().aIniDelLog->isEnabled());
    }
};

} // namespace pln::test

QTEST_MAIN(pln::test::LogDialogsTest)
#include "log_dialogs_test.moc"
