#include "app/ui/list_view.h"
#include "app/ui/stats_logs_list.h"
#include "logstore/core/log_file.h"
#include "ui/modal_dialog.h"
#include "ui/ui_fixture.h"
#include "ui/ui_profile.h"

#include <QAbstractItemModelTester>

using namespace pln;
using test::UiProfile;

namespace {

constexpr int valueColumn = 0;
constexpr int logColumn = 1;
constexpr int graphicColumn = 5;

const std::string connRunTime = "statistics.ini-statistics,ConnRunTime";
const std::string uploaded = "statistics.ini-statistics,TotalUploadedBytes";
const std::string sessions = "statistics.ini-statistics,UpSuccessfulSessions";
const std::string maxUpload = "preferences.ini-eMule,MaxUpload";

} // namespace

class StatsLogsListTest : public QObject {
    Q_OBJECT

private:
    test::UiSession session_;
    std::unique_ptr<UiProfile> profile_;
    std::unique_ptr<tMainForm> form_;
    std::unique_ptr<QAbstractItemModelTester> tester_;

    tStatsLogsModel& model() { return form_->statsLogsList().model(); }
    tListView& view() { return form_->statsLogsList().view(); }
    QString cell(int row, int column) { return model().index(row, column).data().toString(); }
    QStringList column(int c) { return test::columnTexts(model(), c); }
    int rowOf(const QString& value) { return test::rowOf(model(), value); }
    bool ticked(const QString& value) { return test::ticked(model(), value); }
    void setTick(const QString& value, bool tick) { QVERIFY(test::setTick(model(), value, tick)); }
    void select(const QStringList& values) { test::selectNamed(view(), values); }

private slots:
    void init() {
        profile_ = std::make_unique<UiProfile>();
        UiProfile& p = *profile_;
        p.writeLog(connRunTime, tLogState::permanent, {valueTypeInteger, 1, 24.0, "Hours / day"});
        p.writeLog(uploaded, tLogState::active, {valueTypeLong, 1, 1.0 / 1024, "kBytes / sec"});
        p.writeLog(sessions, tLogState::inactive, {valueTypeInteger, 1, 1.0, ""});
        p.writeLog(maxUpload, tLogState::active, {valueTypeInteger, 2, 1.0, "kBytes / sec"});
        p.writeLog("Queued clients", tLogState::inactive, {valueTypeShort, 4, 1.0, "clients"});
        p.dir.write("PLN/PLN logs/virtual;Per session.pln_on",
                    encodeNewLog(tLogKind::virtualLog, {valueTypeReal, 0, 1.0, "kB"},
                                 {tLogOperation::quotient, {uploaded, sessions}}));
        p.writeLog(test::hashOf(7), tLogState::active);
        form_ = session_.open(p.locations);
        QVERIFY(form_);
        tester_ = std::make_unique<QAbstractItemModelTester>(
            &model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QTRY_COMPARE(model().rowCount(), 6);
        QtPrompter::clearShownBoxes();
    }

    void cleanup() {
        tester_.reset();
        form_.reset();
        profile_.reset();
    }

    // The order, the texts and the header clicks are the table's and the
    // shared list's: here the model shows them, the tick a permanent log too.
    void rowsShowEveryLogButKnownFilesAndTicksSwitchThem() {
        QCOMPARE(column(logColumn),
                 QStringList({"Permanent", "Active", "Active", "Active", "Inactive", "Inactive"}));
        QVERIFY(ticked("ConnRunTime") && ticked("MaxUpload") && !ticked("Queued clients"));

        // Ticks switch the logs, but not the permanent one.
        select({"MaxUpload", "ConnRunTime", "TotalUploadedBytes"});
        setTick("MaxUpload", false);
        QVERIFY(profile_->logExists(maxUpload, ".pln_off"));
        QVERIFY(profile_->logExists(uploaded, ".pln_off"));
        QVERIFY(profile_->logExists(connRunTime, ".pln") && ticked("ConnRunTime"));
        QCOMPARE(cell(rowOf("ConnRunTime"), logColumn), "Permanent");
        QCOMPARE(cell(rowOf("MaxUpload"), logColumn), "Inactive");
        QVERIFY(QtPrompter::shownBoxes().empty());
    }

    // The confirmations and Ctrl are the shared list's: here the rows go.
    void deletionSparesThePermanentLog() {
        select({"ConnRunTime", "UpSuccessfulSessions", "Per session"});
        QTRY_VERIFY(form_->actions().aIniDelLog->isEnabled());
        QtPrompter::setNextAnswer(true);
        form_->actions().aIniDelLog->trigger();
        QCOMPARE(column(valueColumn),
                 QStringList({"ConnRunTime", "MaxUpload", "TotalUploadedBytes", "Queued clients"}));
        QVERIFY(!profile_->logExists(sessions, ".pln_off"));
        QVERIFY(!profile_->logExists("virtual;Per session", ".pln_on"));
        QVERIFY(profile_->logExists(connRunTime, ".pln"));
        QTRY_VERIFY(!form_->actions().aIniDelLog->isEnabled());
    }

    void swappingTwiceReturnsTheLogToItsGraph() {
        QVERIFY(test::showExposed(*form_));
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        view().setFocus();
        view().setCurrentIndex(model().index(rowOf("MaxUpload"), 0));
        // The menu opened from the keyboard acts on the list that had the
        // focus; Alt and the keypad's Enter open the focused log.
        QTest::keyClick(form_.get(), Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(form_->actions().statsMenu->isVisible());
        QVERIFY(form_->actions().aIniSwapGraph->isEnabled());
        form_->actions().statsMenu->close();
        select({"MaxUpload"});
        QVERIFY(test::whileModal(
            [&] { QTest::keyClick(&view(), Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier); },
            [](QDialog&) {}));
        form_->actions().aIniSwapGraph->trigger();
        QCOMPARE(cell(rowOf("MaxUpload"), graphicColumn), "Requests");
        const tLogFile* log = form_->session().logFiles().findLog(maxUpload);
        QCOMPARE(log->flags(), std::uint8_t(2 | flagShowWithRequests));
        form_->session().logFiles().scanLogs();
        QCOMPARE(form_->session().logFiles().findLog(maxUpload)->flags(),
                 std::uint8_t(2 | flagShowWithRequests));
        form_->statsLogsList().logFilesLoaded();
        view().setCurrentIndex(model().index(rowOf("MaxUpload"), 0));
        form_->actions().aIniSwapGraph->trigger();
        QCOMPARE(cell(rowOf("MaxUpload"), graphicColumn), "Transfers");
        QCOMPARE(form_->session().logFiles().findLog(maxUpload)->flags(), std::uint8_t(2));
    }
};

QTEST_MAIN(StatsLogsListTest)
#include "stats_logs_list_test.moc"
