#include "app/core/errors_log.h"
#include "app/core/startup.h"
#include "app/ui/errors_log_form.h"
#include "app/ui/recorder_link_qt.h"
#include "common/byte_writer.h"
#include "logstore/core/conn_run_time.h"
#include "logstore/core/log_files.h"
#include "logstore/ui/compress_form.h"
#include "logstore/ui/hint_text.h"
#include "platform/fake_message_bus.h"
#include "platform/fake_platform.h"
#include "platform/posix/posix_message_bus.h"
#include "platform/posix/posix_mutex_service.h"
#include "support/recording_prompter.h"
#include "support/temp_dir.h"

#include <QDate>
#include <QLocale>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

extern char** environ;

namespace pln {

namespace {

tLocations locationsIn(const std::string& root) {
    tLocations l;
    l.eMuleConfigBase = root + "eMule/";
    l.eMuleConfigFolder = l.eMuleConfigBase + "config/";
    l.dataFolder = root + "PLN/";
    l.logsFolder = l.dataFolder + "PLN logs/";
    l.messagePrefix = l.eMuleConfigFolder;
    return l;
}

// The ConnRunTime log with the values given, one record an hour.
std::vector<std::uint8_t> connRunTimeLog(std::initializer_list<std::int32_t> values) {
    ByteWriter out;
    out.text("PLN");
    out.u8(0);
    out.u8(1);
    out.u8(3);
    out.u8(1);
    out.f64(24);
    out.zeros(64);
    std::uint32_t stamp = 0x5A210000;
    for (std::int32_t value : values) {
        out.u32(stamp += 1 << 11);
        out.i32(value);
    }
    return out.take();
}

std::vector<std::int32_t> connRunTimeValues(const std::string& path) {
    const std::vector<std::uint8_t> bytes = test::readBytes(path);
    std::vector<std::int32_t> values;
    for (std::size_t at = 79; at + 8 <= bytes.size(); at += 8) {
        std::int32_t value = 0;
        std::memcpy(&value, bytes.data() + at + 4, 4);
        values.push_back(value);
    }
    return values;
}

// Presses a key on the dialog that is open once the event loop runs.
void pressOnModal(Qt::Key key) {
    QTimer::singleShot(0, [key] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, key);
    });
}

} // namespace

class RecorderLinkTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> dir;
    tLocations locations;
    FakeMutexService mutexes;
    test::RecordingPrompter prompter;
    FakeMessageBus* bus = nullptr;
    std::unique_ptr<tRecorderLinkQt> link;
    std::vector<int> ran;

    void makeLink(std::chrono::milliseconds patience = std::chrono::seconds(10)) {
        auto fake = std::make_unique<FakeMessageBus>();
        bus = fake.get();
        link = std::make_unique<tRecorderLinkQt>(std::move(fake), locations, mutexes, prompter,
                                                 patience);
        link->setTasks({[this] { ran.push_back(0); }, [this] { ran.push_back(1); },
                        [this] { ran.push_back(2); }});
    }
    BusMessage message(const std::string& name, std::uint32_t word) { return {name, word, 0}; }

private slots:
    void init() {
        dir = std::make_unique<test::TempDir>();
        locations = locationsIn(dir->path());
        mutexes = {};
        mutexes.heldElsewhere.insert(recorderMutexName(locations));
        prompter.shown.clear();
        ran.clear();
        makeLink();
    }

    void tasksRunOnlyBetweenTheAnswerAndTheResume() {
        const auto& m = link->messages();
        link->suspend(compressTask);
        link->suspend(compressTask);
        QCOMPARE(bus->sent.size(), std::size_t{1});
        QVERIFY(bus->sent[0] == message(m.msgSuspend, 0));
        QVERIFY(ran.empty());

        link->wndProc(message(m.msgSuspended, 0));
        QCOMPARE(ran, std::vector<int>{0});
        QVERIFY(bus->sent.back() == message(m.msgResume, 0));
        QVERIFY(!link->awaitingAnswer(compressTask));

        link->wndProc(message(m.msgSuspended, 0));
        // An answer nobody waits for runs nothing.
        QCOMPARE(ran, std::vector<int>{0});
        QVERIFY(bus->sent.back() == message(m.msgResume, 0));
        link->wndProc(message(m.msgSuspended, 5));
        QVERIFY(bus->sent.back() == message(m.msgResume, 5));
        QCOMPARE(bus->sent.size(), std::size_t{4});
    }

    // One task at a time: what comes while a task runs, or while a dialog
    // holds the link, waits and is served in its order afterwards. An answer
    // that waits is not late, however long the dialog stays open.
    void requestsAndMessagesWaitForTheTaskAndForAHold() {
        makeLink(std::chrono::milliseconds(30));
        const auto& m = link->messages();
        QSignalSpy closing(link.get(), &tRecorderLinkQt::closeRequested);
        QSignalSpy released(link.get(), &tRecorderLinkQt::released);
        link->setTasks({[&] {
                            link->suspend(connRunTimeFixTask);
                            link->wndProc(message(m.msgClose, 0));
                            QCOMPARE(closing.count(), 0);
                            ran.push_back(0);
                        },
                        [this] { ran.push_back(1); },
                        {}});
        link->suspend(compressTask);
        link->wndProc(message(m.msgSuspended, 0));
        QCOMPARE(ran, std::vector<int>{0});
        QCOMPARE(closing.count(), 1);
        QCOMPARE(released.count(), 1);
        QCOMPARE(bus->sent.size(), std::size_t{3});
        QVERIFY(bus->sent[1] == message(m.msgResume, 0));
        QVERIFY(bus->sent[2] == message(m.msgSuspend, 1));

        {
            tTaskHold dialog(*link);
            link->wndProc(message(m.msgSuspended, 1));
            link->suspend(repairTask);
            QTest::qWait(100);
            QCOMPARE(ran, std::vector<int>{0});
            QCOMPARE(bus->sent.size(), std::size_t{3});
        }
        QCOMPARE(ran, (std::vector<int>{0, 1}));
        QVERIFY(bus->sent[3] == message(m.msgResume, 1));
        QVERIFY(bus->sent[4] == message(m.msgSuspend, 2));
        QVERIFY(prompter.shown.empty());
    }

    void aSilentRecorderIsReportedAndItsLateAnswerRunsNothing() {
        makeLink(std::chrono::milliseconds(30));
        link->suspend(compressTask);
        link->suspend(connRunTimeFixTask);
        QTRY_VERIFY(!link->awaitingAnswer(compressTask) &&
                    !link->awaitingAnswer(connRunTimeFixTask));
        QCOMPARE(prompter.errors(), std::vector<std::string>{recorderSilentMessage});
        QCOMPARE(bus->sent.size(), std::size_t{4});
        // Both requests are withdrawn, in whichever order their time ran out.
        QCOMPARE(bus->sent[2].name, link->messages().msgResume);
        QCOMPARE(bus->sent[3].name, link->messages().msgResume);
        QCOMPARE(bus->sent[2].word + bus->sent[3].word, 1u);
        link->wndProc(message(link->messages().msgSuspended, 0));
        QVERIFY(ran.empty());
        QVERIFY(bus->sent.back() == message(link->messages().msgResume, 0));
    }

    // The real recorder on a bus of this test: the drop 10, 20, 5, 15 found
    // by a load is on disk as 10, 20, 25, 35 once the exchange is over, and
    // the recorder records again afterwards.
    void connRunTimeDropIsWrittenBackDuringTheRealRecordersPause() {
        std::string root = dir->path().substr(0, dir->path().size() - 1);
        ::chmod(dir->mkdir("run").c_str(), 0700);
        dir->write("eMule/config/known.met", std::string("\x0E\0\0\0\0", 5));
        dir->write("eMule/config/preferences.ini", "[e]");
        dir->write("eMule/config/statistics.ini", "[Statistics]\nConnRunTime=50\n");
        const std::string logPath =
            dir->write("PLN/PLN logs/statistics.ini-statistics,ConnRunTime.pln",
                       connRunTimeLog({10, 20, 5, 15}));
        ::setenv("XDG_DATA_HOME", root.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (dir->path() + "run").c_str(), 1);

        char* argv[] = {const_cast<char*>(PLN_RECORDER), nullptr};
        pid_t recorder = 0;
        QCOMPARE(::posix_spawn(&recorder, PLN_RECORDER, nullptr, nullptr, argv, environ), 0);
        PosixMutexService realMutexes;
        QTRY_VERIFY(realMutexes.isHeld(recorderMutexName(locations)));
        // The recorder binds its socket after taking its mark; a message sent
        // before that would reach nobody.
        const std::string busFolder = messageBusFolder(locations.messagePrefix);
        QTRY_VERIFY(std::filesystem::exists(busFolder) && !std::filesystem::is_empty(busFolder));

        tRecorderLinkQt realLink(
            std::make_unique<PosixMessageBus>(messageBusFolder(locations.messagePrefix)), locations,
            realMutexes, prompter);
        tLogFiles logs({locations.logsFolder, prompter, realLink});
        realLink.setTasks({{}, [&] { writeBackConnRunTime(logs); }, {}});
        logs.scanLogs();
        logs.connRunTimeLog()->loadValues();
        logs.connRunTimeLog()->freeValues();
        requestConnRunTimeWriteBack(logs);
        QVERIFY(realLink.awaitingAnswer(connRunTimeFixTask));
        QCOMPARE(connRunTimeValues(logPath), (std::vector<std::int32_t>{10, 20, 5, 15}));
        QTRY_VERIFY(!realLink.awaitingAnswer(connRunTimeFixTask));
        QCOMPARE(connRunTimeValues(logPath), (std::vector<std::int32_t>{10, 20, 25, 35}));

        std::filesystem::last_write_time(locations.eMuleConfigFolder + "known.met",
                                         std::filesystem::file_time_type::clock::now() -
                                             std::chrono::seconds(5));
        QTRY_COMPARE(connRunTimeValues(logPath).size(), std::size_t{5});
        QCOMPARE(connRunTimeValues(logPath).back(), 50);
        QVERIFY(prompter.shown.empty());
        ::kill(recorder, SIGTERM);
        int status = 0;
        ::waitpid(recorder, &status, 0);
        QVERIFY(WIFEXITED(status));
    }

    void compressFormTextHintAndKeys() {
        QCOMPARE(hintText("a\\nb\\\\c;   d"), QString("a\nb\\c\nd"));
        tCompressForm form(nullptr, "Never", 45);
        QVERIFY(form.explanation().endsWith("\n\nLast compression date: Never"));
        QCOMPARE(form.threshold(), 45);
        auto* box = form.findChild<QSpinBox*>("compressThresholdBox");
        QCOMPARE(box->minimum(), 10);
        QCOMPARE(box->maximum(), 365);
        pressOnModal(Qt::Key_Escape);
        QCOMPARE(form.exec(), int(QDialog::Rejected));
        pressOnModal(Qt::Key_Return);
        QCOMPARE(form.exec(), int(QDialog::Accepted));
    }

    void errorsLogShowsItsLinesAndTellsTheRecorder() {
        QVERIFY(!errorsLogExists(locations.dataFolder));
        dir->write("PLN/errors.log", "39000.5|Cannot save\r\nno bar\r\nx|kept\r\n");
        QVERIFY(errorsLogExists(locations.dataFolder));
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<tErrorsLogForm*>(QApplication::activeModalWidget());
            QVERIFY(form);
            shown = form->text();
            QTest::keyClick(form, Qt::Key_Escape);
        });
        aFileRecErrorsLogExecute(nullptr, locations.dataFolder, *link, prompter);
        QStringList lines = shown.split('\n');
        QCOMPARE(lines.size(), 2);
        // 39000.5 days after 1899-12-30 is 10 October 2006, noon, shown
        // without a time zone.
        const QString day = QLocale::system().toString(QDate(2006, 10, 10), QLocale::ShortFormat);
        QVERIFY2(lines[0].startsWith(day + ' ') && lines[0].contains("12:00:00") &&
                     lines[0].endsWith("   Cannot save") && !lines[0].contains("UTC"),
                 qPrintable(lines[0]));
        QCOMPARE(lines[1], QString("x|kept"));
        QVERIFY(bus->sent.back() == message(link->messages().msgErrorsViewed, 0));
        QCOMPARE(std::filesystem::file_size(locations.dataFolder + "errors.log"),
                 std::uintmax_t{37});

        std::filesystem::remove(locations.dataFolder + "errors.log");
        std::filesystem::create_directory(locations.dataFolder + "errors.log");
        aFileRecErrorsLogExecute(nullptr, locations.dataFolder, *link, prompter);
        QCOMPARE(prompter.errors(),
                 std::vector<std::string>{"Cannot open \"" + locations.dataFolder +
                                          "errors.log\": Is a directory"});
    }
};

} // namespace pln

QTEST_MAIN(pln::RecorderLinkTest)
#include "recorder_link_test.moc"
