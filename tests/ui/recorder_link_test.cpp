#include "app/core/errors_log.h"
#include "app/ui/errors_log_form.h"
#include "app/ui/recorder_link_qt.h"
#include "logstore/ui/compress_form.h"
#include "logstore/ui/hint_text.h"
#include "platform/fake_message_bus.h"
#include "platform/fake_platform.h"
#include "ui/ui_fixture.h"

namespace pln::test {

class RecorderLinkTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDir> dir;
    tLocations locations;
    FakeMutexService mutexes;
    RecordingPrompter prompter;
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
        dir = std::make_unique<TempDir>();
        locations.dataFolder = dir->file("PLN/");
        locations.messagePrefix = dir->file("eMule/config/");
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
        QVERIFY(ran.empty());
        link->wndProc(message(m.msgSuspended, 0));
        QCOMPARE(ran, std::vector<int>{0});
        QVERIFY(!link->awaitingAnswer(compressTask));
        // An answer nobody waits for runs nothing; the recorder is resumed all the same.
        link->wndProc(message(m.msgSuspended, 0));
        link->wndProc(message(m.msgSuspended, 5));
        QCOMPARE(ran, std::vector<int>{0});
        QCOMPARE(bus->sent, (std::vector{message(m.msgSuspend, 0), message(m.msgResume, 0),
                                         message(m.msgResume, 0), message(m.msgResume, 5)}));
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
        std::vector sent{message(m.msgSuspend, 0), message(m.msgResume, 0),
                         message(m.msgSuspend, 1)};
        QCOMPARE(bus->sent, sent);
        {
            tTaskHold dialog(*link);
            link->wndProc(message(m.msgSuspended, 1));
            link->suspend(repairTask);
            // Well past the patience of 30 ms.
            QTest::qWait(100);
            QCOMPARE(ran, std::vector<int>{0});
            QCOMPARE(bus->sent, sent);
        }
        QCOMPARE(ran, (std::vector<int>{0, 1}));
        sent.insert(sent.end(), {message(m.msgResume, 1), message(m.msgSuspend, 2)});
        QCOMPARE(bus->sent, sent);
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

    void compressFormTextHintAndKeys() {
        QCOMPARE(hintText("a\\nb\\\\c;   d"), QString("a\nb\\c\nd"));
        tCompressForm form(nullptr, "Never", 45);
        QVERIFY(form.explanation().endsWith("\n\nLast compression date: Never"));
        QCOMPARE(form.threshold(), 45);
        for (auto [key, result] :
             {std::pair{Qt::Key_Escape, QDialog::Rejected}, {Qt::Key_Return, QDialog::Accepted}})
            QVERIFY(
                whileModal([&] { QCOMPARE(form.exec(), int(result)); },
                           [key](QDialog& dialog) { QTest::keyClick(dialog.focusWidget(), key); }));
    }

    void errorsLogShowsItsLinesAndTellsTheRecorder() {
        QVERIFY(!errorsLogExists(locations.dataFolder));
        dir->write("PLN/errors.log", "39000.5|Cannot save\r\nno bar\r\nx|kept\r\n");
        QVERIFY(errorsLogExists(locations.dataFolder));
        QString shown;
        QVERIFY(whileModal<tErrorsLogForm>(
            [&] { aFileRecErrorsLogExecute(nullptr, locations.dataFolder, *link, prompter); },
            [&](tErrorsLogForm& form) { shown = form.text(); }));
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

} // namespace pln::test

QTEST_MAIN(pln::RecorderLinkTest)
#include "recorder_link_test.moc"
