#include "app/core/errors_log.h"
#include "app/ui/errors_log_form.h"
#include "graphs/ui/color_form.h"
#include "graphs/ui/events_log_edit_form.h"
#include "graphs/ui/graph_options_form.h"
#include "logstore/ui/compress_form.h"
#include "logstore/ui/hint_text.h"
#include "platform/fake_message_bus.h"
#include "platform/fake_platform.h"
#include "platform/fake_settings_store.h"
#include "support/scoped_env.h"
#include "ui/ui_fixture.h"

#include <QtCharts>

namespace pln::test {

CalendarMs at(int year, int month, int day, int hour = 0, int minute = 0) {
    return calendarDayOf(year, month, day) * msPerDay + (hour * 60 + minute) * 60'000LL;
}

QColor lineColour(QChartView* view, int series) {
    return static_cast<QLineSeries*>(view->chart()->series().at(series))->pen().color();
}

QColor eventsColour(QChartView* view) {
    return static_cast<QBarSeries*>(view->chart()->series().at(0))->barSets().at(0)->color();
}

// The dialogs and the recorder link, each on its own, without the main window.
class DialogsTest : public QObject {
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

    void tasksRunOneAtATimeBetweenTheAnswerAndTheResume() {
        const tRecorderMessages m = link->messages();
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

        // One task at a time: what comes while a task runs, or while a dialog
        // holds the link, waits and is served in its order afterwards. An
        // answer that waits is not late, however long the dialog stays open.
        makeLink(std::chrono::milliseconds(30));
        ran.clear();
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
        QVERIFY(ran.empty() && bus->sent.back() == message(link->messages().msgResume, 0));
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

    void eventsEditorValidatesEditsAndSavesOnlyOnOk() {
        const ScopedEnv zone("TZ", "Europe/Berlin");
        const std::string path =
            dir->write("events.log", "1/2/2026 10:00:00 AM=Beta|" + hashOf(1) +
                                         "\r\n1/2/2026 10:00:00 AM=Alpha\r\n3/4/2026=Hidden|" +
                                         hashOf(2) + "\r\n5/6/2026 3:04:05 PM=Gamma\r\n");
        const tColour red = rgbColour(255, 0, 0);
        const auto colourOf = [&](const std::string& hash) {
            return hash == hashOf(1) ? std::optional(red) : std::nullopt;
        };
        tEventsEditorContext context{path, {{"a.avi", hashOf(1), red}}, colourOf, prompter};
        tEventsLogEditForm form(nullptr, context, at(2026, 1, 2, 10));
        auto* dateBox = form.findChild<QLineEdit*>("dateTimeBox");
        auto* eventBox = form.findChild<QLineEdit*>("eventBox");
        auto* fileBox = form.findChild<QComboBox*>("fileBox");
        auto* list = form.findChild<QListWidget*>("eventsBox");
        auto* errorBox = form.findChild<QLabel*>("errorBox");
        auto* aDel = form.findChild<QAction*>("aDel");
        QVERIFY(showExposed(form, {}, true));

        // The event of the undrawn file is not listed; at one moment the event
        // without a file comes first, and the preset date selects it.
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(eventBox->text(), "Alpha");
        QCOMPARE(fileBox->currentText(), "None");
        QVERIFY(aDel->isEnabled());

        dateBox->setText("not a date");
        QVERIFY(!errorBox->isHidden());
        // A reading of the hour skipped when the clocks go forward is a date.
        dateBox->setText(localeDateTimeText(at(2026, 3, 29, 2, 30)));
        QVERIFY(errorBox->isHidden());
        QVERIFY(parseLocaleDateTime(dateBox->text()) == at(2026, 3, 29, 2, 30));
        dateBox->setText("not a date");
        QCOMPARE(list->count(), 2);
        QVERIFY(list->selectedItems().isEmpty());

        dateBox->setText(localeDateTimeText(at(2026, 6, 1, 8)));
        QVERIFY(errorBox->isHidden());
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->currentRow(), 2);
        fileBox->setCurrentIndex(1);
        QCOMPARE(list->item(2)->data(Qt::UserRole).toString(), "Alpha");
        QCOMPARE(list->item(2)->data(Qt::UserRole + 1).value<QColor>(), QColor(255, 0, 0));

        QTest::keyClick(&form, Qt::Key_N, Qt::ControlModifier);
        QVERIFY(dateBox->text().isEmpty() && eventBox->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), dateBox);
        QVERIFY(list->selectedItems().isEmpty());
        dateBox->setText(localeDateTimeText(at(2026, 4, 1, 13, 30)));
        eventBox->setText("Delta ");
        QCOMPARE(fileBox->currentText(), "a.avi");
        fileBox->setCurrentIndex(0);
        QCOMPARE(list->count(), 4);

        // Removing "Gamma" selects what follows it and shows it in the boxes.
        list->setFocus();
        list->setCurrentRow(2);
        QCOMPARE(eventBox->text(), "Gamma");
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->currentRow(), 2);
        QCOMPARE(eventBox->text(), "Alpha");
        QCOMPARE(fileBox->currentText(), "a.avi");

        form.findChild<QPushButton*>("okBtn")->click();
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QVERIFY(prompter.shown.empty());
        const QString expected = QString::fromStdString(
            "1/2/2026 10:00:00 AM=Beta|" + hashOf(1) + "\r\n3/4/2026=Hidden|" + hashOf(2) +
            "\r\n4/1/2026 1:30:00 PM=Delta\r\n6/1/2026 8:00:00 AM=Alpha|" + hashOf(1) + "\r\n");
        QCOMPARE(QString::fromStdString(readText(path)), expected);

        // Cancel changes nothing, whatever was deleted.
        QVERIFY(whileModal(
            [&] { QVERIFY(!tEventsLogEditForm::execute(nullptr, context, std::nullopt)); },
            [](QDialog& dialog) {
                dialog.findChild<QListWidget*>("eventsBox")->setCurrentRow(0);
                dialog.findChild<QAction*>("aDel")->trigger();
                dialog.findChild<QPushButton*>("cancelBtn")->click();
            }));
        QCOMPARE(QString::fromStdString(readText(path)), expected);

        // A file where the folder should be fails the save; an events.log too
        // large to read is reported and never replaced by the empty list the
        // editor shows. The dialog stays either way.
        const std::string huge(16 * 1024 * 1024 + 1, 'x');
        const std::pair<std::string, const char*> failures[] = {
            {dir->write("blocked", "") + "/events.log",
             "An error occurred while saving events.log: "},
            {dir->write("huge.log", huge), "events.log could not be read"}};
        for (const auto& [target, error] : failures) {
            context.eventsLogPath = target;
            tEventsLogEditForm failing(nullptr, context, std::nullopt);
            child<QLineEdit>(failing, "dateTimeBox").setText(localeDateTimeText(at(2026, 1, 1)));
            failing.findChild<QPushButton*>("okBtn")->click();
            QVERIFY(failing.result() != QDialog::Accepted);
            QVERIFY2(prompter.errors().back().starts_with(error), error);
        }
        QCOMPARE(prompter.errors().size(), 3u);
        QCOMPARE(std::filesystem::file_size(context.eventsLogPath), huge.size());
    }

    void colorFormPreviewsTheSelectedSlotAndEditsItsColour() {
        tChartColours current;
        current.deltaLum = 0.1;
        std::optional<QColor> answer = QColor(1, 2, 3);
        tColorForm form(nullptr, current,
                        [&](QWidget*, const QColor&) -> std::optional<QColor> { return answer; });
        auto* series = form.findChild<QListWidget*>("seriesBox");
        auto* lumBar = form.findChild<QScrollBar*>("lumBar");
        auto* reqChart = form.findChild<QChartView*>("reqChart");
        auto* transChart = form.findChild<QChartView*>("transChart");
        auto* aEditColor = form.findChild<QAction*>("aEditColor");
        const QColor background = form.palette().color(QPalette::Base);
        QCOMPARE(lumBar->value(), 10);
        QVERIFY(!aEditColor->isEnabled());

        series->setCurrentRow(1);
        QVERIFY(aEditColor->isEnabled());
        const tShades shades = deriveShades(designSlotColours[1], 0.1);
        QCOMPARE(lineColour(reqChart, 1), toQColor(shades.darker));
        QCOMPARE(lineColour(reqChart, 2), toQColor(shades.lighter));
        QCOMPARE(lineColour(transChart, 1), toQColor(designSlotColours[1]));
        QCOMPARE(eventsColour(reqChart), background);

        lumBar->setValue(25);
        QCOMPARE(lineColour(reqChart, 1),
                 toQColor(deriveShades(designSlotColours[1], 0.25).darker));

        series->setCurrentRow(0);
        QCOMPARE(eventsColour(reqChart), toQColor(designSlotColours[0]));
        QCOMPARE(eventsColour(transChart), toQColor(designSlotColours[0]));
        QCOMPARE(lineColour(transChart, 1), background);

        QVERIFY(showExposed(form, {}, true));
        series->setCurrentRow(5);
        QTest::keyClick(series, Qt::Key_Return, Qt::AltModifier);
        QCOMPARE(lineColour(transChart, 1), QColor(1, 2, 3));
        QCOMPARE(lineColour(reqChart, 1), background);
        answer.reset();
        aEditColor->trigger();
        tSlotColours expected = designSlotColours;
        expected[5] = rgbColour(1, 2, 3);
        QCOMPARE(form.colours().slotColours, expected);
        QCOMPARE(form.colours().deltaLum, 0.25);

        // The settings take the colours on Ok only.
        FakeSettingsStore settings;
        const auto picker = [](QWidget*, const QColor&) { return std::optional<QColor>(); };
        std::optional<tChartColours> chosen;
        for (const char* button : {"cancelBtn", "okBtn"}) {
            QVERIFY(whileModal([&] { chosen = tColorForm::execute(nullptr, {}, settings, picker); },
                               [button](QDialog& dialog) {
                                   dialog.findChild<QScrollBar*>("lumBar")->setValue(20);
                                   dialog.findChild<QPushButton*>(button)->click();
                               }));
            QCOMPARE(settings.values.empty(), !chosen.has_value());
        }
        QVERIFY(chosen);
        QCOMPARE(chosen->deltaLum, 0.2);
        QCOMPARE(settings.values.size(), colorSlotCount + 1);
    }

    // Enter confirms, in the box or on Cancel; Escape cancels.
    void graphOptionsEnterConfirmsAndEscapeCancels() {
        const std::map<std::string, std::string> stored{{"pointsPerPixel", "7"}}, nothing;
        for (const auto& [focus, key, confirmed] : {std::tuple{"resampleBox", Qt::Key_Return, true},
                                                    {"cancelBtn", Qt::Key_Enter, true},
                                                    {"resampleBox", Qt::Key_Escape, false}}) {
            FakeSettingsStore settings;
            std::optional<int> chosen;
            QVERIFY(whileModal([&] { chosen = tGraphOptionsForm::execute(nullptr, 4, settings); },
                               [&](QDialog& dialog) {
                                   auto* box = dialog.findChild<QSpinBox*>("resampleBox");
                                   QCOMPARE(box->value(), 4);
                                   box->setValue(12);
                                   QCOMPARE(box->value(), 10);
                                   box->setValue(7);
                                   auto* target = dialog.findChild<QWidget*>(focus);
                                   target->setFocus();
                                   QTest::keyClick(target, key);
                               }));
            QCOMPARE(chosen, confirmed ? std::optional(7) : std::nullopt);
            QCOMPARE(settings.values, confirmed ? stored : nothing);
        }
    }
};

} // namespace pln::test

QTEST_MAIN(pln::test::DialogsTest)
#include "dialogs_test.moc"
