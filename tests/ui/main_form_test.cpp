#include "app/core/load_cycle.h"
#include "app/ui/bugs_form.h"
#include "app/ui/credits_form.h"
#include "app/ui/tips_form.h"
#include "common/program_info.h"
#include "ui/ui_fixture.h"

namespace pln::test {

// A recorder stand-in that only leaves a mark that it was started.
std::string installRecorder(const UiProfile& profile) {
    const std::string script =
        profile.dir.write("program/PLN", "#!/bin/sh\ntouch \"$0.started\"\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    return script + ".started";
}

// A known-file log of one day of records a minute apart, years old: a
// compression keeps one in six hours.
constexpr std::uintmax_t dayOfRecordsSize = logPrefixSize + 1440 * 20;
std::string writeDayOfRecords(UiProfile& profile, const std::string& name) {
    ByteWriter out;
    for (std::uint32_t minute = 0; minute < 1440; ++minute) {
        out.u32((40u << 25) | (1u << 21) | (1u << 16) | (minute / 60) << 11 | (minute % 60) << 5);
        out.zeros(16);
    }
    return profile.writeLog(name, tLogState::active, {}, out.buffer());
}

// The catalogue's log objects; a catalogue built anew has others.
std::vector<const tLogFile*> catalogue(tMainForm& form) {
    std::vector<const tLogFile*> logs;
    for (const auto& log : form.session().logFiles().logs())
        logs.push_back(log.get());
    return logs;
}

class MainFormTest : public QObject {
    Q_OBJECT

private:
    UiSession session_;

    Platform& platform() { return session_.platform(); }
    std::unique_ptr<tMainForm> start(const UiProfile& p) { return session_.open(p.locations); }
    static QTimer* loadTimer(tMainForm& form) { return form.findChild<QTimer*>("timer"); }
    QString failureText(tMainForm& f) { return f.findChild<QLabel*>("failureLabel")->text(); }
    static QCheckBox& showAtStartup(QDialog& d) { return child<QCheckBox>(d, "showAtStartupBox"); }

    // At least the design size, and wide enough that no caption is cut;
    // the buttons and Enter in the text page around the tips, every "\n"
    // shown as a line break.
    static void pagesAroundBothWays(tTipsForm& tips) {
        QVERIFY(tips.width() >= std::max(457, tips.minimumSizeHint().width()) &&
                tips.height() >= 250);
        const std::size_t first = tips.tipIndex();
        const QString text = tips.text();
        QString all;
        for (std::size_t n = 1; n <= 11; ++n) {
            child<QPushButton>(tips, "nextButton").click();
            QCOMPARE(tips.tipIndex(), (first + n) % 11);
            all += tips.text();
        }
        QVERIFY(all.count('\n') > 20 && !all.contains("\\n"));
        child<QPushButton>(tips, "previousButton").click();
        QCOMPARE(tips.tipIndex(), (first + 10) % 11);
        QTest::keyClick(tips.findChild<QPlainTextEdit*>("tipsBox"), Qt::Key_Return);
        QCOMPARE(tips.tipIndex(), first);
        QCOMPARE(tips.text(), text);
        QVERIFY(child<QPushButton>(tips, "nextButton").isDefault());
    }

private slots:
    // One viewer per configuration, named in the caption: a second one asks
    // the first to come to the front. Each starts the recorder unless it runs.
    void oneViewerPerConfigurationStartsTheRecorderUnlessItRuns() {
        UiProfile profile, other;
        const std::string started = installRecorder(profile);
        const std::string notStarted = installRecorder(other);
        auto running = platform().mutexes.create(recorderMutexName(other.locations));
        QVERIFY(running.handle);
        // Had this one started its recorder, the mark would come before the first's.
        auto second = start(other);
        auto first = start(profile);
        QVERIFY(first && second);
        QCOMPARE(first->windowTitle(),
                 QString::fromStdString("PLN - " + profile.dir.path() + "eMule/config/"));
        QVERIFY(showExposed(*first));
        first->showMinimized();
        QTRY_VERIFY(first->isMinimized());
        QVERIFY(!start(profile));
        QTRY_VERIFY(!first->isMinimized());
        QTRY_VERIFY(std::filesystem::exists(started));
        QVERIFY(!std::filesystem::exists(notStarted));
        QVERIFY(!platform().mutexes.isHeld(recorderMutexName(profile.locations)));
        first.reset();
        QVERIFY(start(profile));
    }

    // The first tick loads everything. A known.met that eMule is still
    // writing waits and one that cannot be read empties the list: both are
    // retried every 2 s, saying why without a box, until the file reads. A
    // reload while eMule rewrites the file keeps what was loaded.
    void aKnownMetThatCannotBeReadYetIsRetriedEveryTwoSeconds() {
        UiProfile profile;
        profile.add(1, "one.avi", 100);
        profile.saveKnownMet(false);
        auto form = start(profile);
        QTimer* timer = loadTimer(*form);
        QVERIFY(timer->isActive());
        QTRY_COMPARE(timer->interval(), 2000);
        QCOMPARE(failureText(*form), QString::fromUtf8(knownMetSettlingText)
                                         .prepend("Loading failed, retrying every 2 s: "));
        QCOMPARE(form->session().knownMet().list(), nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(form->session().knownMet().list() != nullptr, 6000);
        QVERIFY(!timer->isActive());
        QCOMPARE(failureText(*form), QString());
        QCOMPARE(form->session().knownMet().fileName(),
                 profile.locations.eMuleConfigFolder + "known.met");
        // A first start creates the default logs, which the first scan lists.
        QCOMPARE(form->statsLogsList().model().rowCount(), 5);
        QVERIFY(profile.logExists("statistics.ini-statistics,ConnRunTime", ".pln"));
        QVERIFY(listsAllKnownFiles(*form, 1));
        form->knownFilesList().view().selectAll();

        profile.add(2, "two.avi", 200);
        profile.saveKnownMet(false);
        form->actions().aKFReload->trigger();
        QVERIFY(timer->isActive());
        QTRY_VERIFY(!timer->isActive());
        QCOMPARE(form->knownFilesList().model().rowCount(), 1);

        writeSettled(profile.dir, "eMule/config/known.met", std::string("\x0D\0\0\0\0", 5));
        form->actions().aKFReload->trigger();
        QTRY_COMPARE(form->knownFilesList().model().rowCount(), 0);
        QCOMPARE(form->session().knownMet().list(), nullptr);
        QVERIFY(timer->isActive());
        QVERIFY2(failureText(*form).contains("Unexpected known.met version"),
                 qPrintable(failureText(*form)));
        QVERIFY(QtPrompter::shownBoxes().empty());
        // The tags view and the actions no longer see the records.
        QTest::qWait(50);
        QVERIFY(!form->actions().aKFDelLog->isEnabled());

        profile.saveKnownMet();
        QTRY_VERIFY_WITH_TIMEOUT(form->knownFilesList().model().rowCount() == 2, 5000);
        QCOMPARE(failureText(*form), QString());
    }

    // A load tick and a drawing that come while the compression's progress
    // dialog turns the event loop wait for its end: its catalogue stays the
    // same objects, no box comes up and every log is compressed. A viewer
    // that closes while it awaits an answer resumes the recorder.
    void compressionRunsAloneWhenTheRecorderAnswers() {
        UiProfile profile;
        std::vector<std::string> oldLogs;
        for (int n = 1; n <= 24; ++n)
            oldLogs.push_back(writeDayOfRecords(profile, hashOf(n)));
        auto holder = platform().mutexes.create(recorderMutexName(profile.locations));
        QVERIFY(holder.handle);
        BusRecorder recorder(profile.locations);
        auto form = start(profile);
        QAction* compress = form->actions().aFileCompressLogs;
        QTRY_COMPARE(form->session().logFiles().count(), 29u);
        QTRY_VERIFY(compress->isEnabled());
        const std::string never = form->session().settings().get(settingKey::lastCompressDate);

        const auto setThreshold = [](QDialog& dialog) {
            auto& box = child<QSpinBox>(dialog, "compressThresholdBox");
            box.setValue(90);
            QTest::keyClick(&box, Qt::Key_Enter);
        };
        QVERIFY(whileModal([&] { compress->trigger(); }, setThreshold));
        QCOMPARE(form->session().settings().get(settingKey::compressionThreshold), 90);
        QTRY_VERIFY(recorder.hears(recorder.names.msgSuspend, compressTask));
        QVERIFY(form->session().recorder().awaitingAnswer(compressTask));
        QCOMPARE(form->session().settings().get(settingKey::lastCompressDate), never);

        const std::vector<const tLogFile*> before = catalogue(*form);
        auto* idle = form->findChild<tIdleWork*>();
        QSignalSpy draws(idle, &tIdleWork::redrawDue);
        QSignalSpy ticks(loadTimer(*form), &QTimer::timeout);
        bool ticked = false, sameCatalogue = true;
        QTimer duringCompression;
        connect(&duringCompression, &QTimer::timeout, this, [&] {
            auto* progress = form->findChild<QProgressDialog*>();
            if (!progress || !progress->isVisible())
                return;
            sameCatalogue = sameCatalogue && catalogue(*form) == before && draws.isEmpty();
            if (!std::exchange(ticked, true)) {
                QVERIFY(QMetaObject::invokeMethod(loadTimer(*form), "timeout"));
                idle->requestRedraw();
            }
        });
        duringCompression.start(0);
        recorder.bus->broadcast({recorder.names.msgSuspended, compressTask, 0});
        QTRY_VERIFY(recorder.hears(recorder.names.msgResume, compressTask));
        duringCompression.stop();
        QVERIFY(ticked && sameCatalogue && QtPrompter::shownBoxes().empty());
        QVERIFY(form->session().settings().get(settingKey::lastCompressDate) != never);
        QVERIFY2(form->statusBar()->currentMessage().startsWith("Compression: "),
                 qPrintable(form->statusBar()->currentMessage()));
        for (const std::string& path : oldLogs)
            QVERIFY2(std::filesystem::file_size(path) < dayOfRecordsSize, path.c_str());
        // The load and the drawing that waited run now.
        QTRY_VERIFY(ticks.count() >= 2 && !draws.isEmpty());

        recorder.heard.clear();
        QVERIFY(whileModal([&] { compress->trigger(); }, [](QDialog& d) { d.accept(); }));
        QTRY_VERIFY(recorder.hears(recorder.names.msgSuspend, compressTask));
        form.reset();
        QTRY_VERIFY(recorder.hears(recorder.names.msgResume, compressTask));
    }

    void keysLayoutErrorsLogAndClose() {
        UiProfile profile;
        BusRecorder recorder(profile.locations);
        auto form = start(profile);
        auto* tabs = form->findChild<QTabWidget*>("tabs");
        QCOMPARE(tabs->currentIndex(), 0);
        const tMainActions& a = form->actions();
        for (const auto& [action, index] : {std::pair{a.aNavNextTab, 1},
                                            {a.aNavNextTab, 0},
                                            {a.aNavPrevTab, 1},
                                            {a.aNavPrevTab, 0}}) {
            action->trigger();
            QCOMPARE(tabs->currentIndex(), index);
        }

        // Tab goes on from the lists to the scroll and zoom bars, which the
        // keys then move.
        QVERIFY(showExposed(*form, {}, true));
        auto* zoom = form->findChild<QScrollBar*>("zoomBar");
        zoom->setMaximum(5);
        form->findChild<QWidget*>("eMuleStatsList")->setFocus();
        QStringList reached;
        for (int step = 0; step < 4 && QApplication::focusWidget() != zoom; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget()->objectName();
        }
        QVERIFY2(reached.contains("scrollBar") && QApplication::focusWidget() == zoom,
                 qPrintable(reached.join(' ')));
        QTest::keyClick(zoom, Qt::Key_PageDown);
        QCOMPARE(zoom->value(), 5);
        for (auto [key, zoomed] :
             {std::pair{Qt::Key_Left, 4}, {Qt::Key_Up, 5}, {Qt::Key_Down, 4}, {Qt::Key_Right, 5}}) {
            QTest::keyClick(zoom, key);
            QCOMPARE(zoom->value(), zoomed);
        }

        // The lists take half the window until dragged away; the legend
        // yields to narrow graphs and docks back.
        auto* main = form->findChild<QSplitter*>("mainSplitter");
        auto* lists = form->findChild<QSplitter*>("listsSplitter");
        const int total = main->sizes().value(0) + main->sizes().value(1);
        QTRY_COMPARE(main->sizes().value(0), total / 2);
        QTRY_VERIFY(std::abs(lists->sizes().value(0) - lists->sizes().value(1)) <= 1);

        // The user drags the splitter up: the lists are hidden and stay so.
        main->setSizes({0, total});
        emit main->splitterMoved(0, 1);
        form->resize(form->width() + 50, form->height() + 100);
        QTRY_VERIFY(main->sizes().value(1) > total);
        QCOMPARE(main->sizes().value(0), 0);

        main->setSizes({200, total - 100});
        emit main->splitterMoved(200, 1);
        form->resize(form->width(), form->height() + 100);
        QTRY_VERIFY(main->sizes().value(0) > 200 &&
                    std::abs(main->sizes().value(0) - main->sizes().value(1)) <= 1);

        auto* graphs = form->findChild<QSplitter*>("graphsSplitter");
        auto* dock = form->findChild<QDockWidget*>("legendDockablePanel");
        QTRY_COMPARE(graphs->sizes().value(1), 250);

        // Docked, it cannot be closed out of reach; squeezed out, it comes
        // back with the room.
        QVERIFY(!dock->features().testFlag(QDockWidget::DockWidgetClosable));
        form->resize(290, 480);
        QTRY_COMPARE(graphs->sizes().value(1), 0);
        form->resize(900, 480);
        QTRY_COMPARE(graphs->sizes().value(1), 250);

        dock->setFloating(true);
        QCOMPARE(graphs->sizes().value(1), 0);
        QVERIFY(!graphs->handle(1)->isEnabled());
        dock->close();
        QVERIFY(!dock->isFloating() && dock->isVisible());
        QTRY_COMPARE(graphs->sizes().value(1), 250);
        QVERIFY(graphs->handle(1)->isEnabled());

        // The errors log is offered once the recorder wrote it: the menu
        // looks as it opens, however it is opened.
        QAction* errors = form->actions().aFileRecErrorsLog;
        QTRY_VERIFY(!form->findChild<QTimer*>("idleTimer")->isActive());
        QVERIFY(!errors->isEnabled());
        profile.dir.write("PLN/errors.log", "39000.5|Cannot open the log\r\n");
        QMenuBar* bar = form->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(form->actions().fileMenu->menuAction()).center());
        QTRY_VERIFY(form->actions().fileMenu->isVisible());
        QVERIFY(errors->isEnabled());
        form->actions().fileMenu->close();
        QVERIFY(whileModal([&] { errors->trigger(); }, [](QDialog&) {}));
        QTRY_VERIFY(recorder.hears(recorder.names.msgErrorsViewed, 0));

        // The recorder's request to close ends the viewer before its pending idle work.
        auto* idle = form->findChild<tIdleWork*>();
        QSignalSpy redraws(idle, &tIdleWork::redrawDue);
        idle->requestRedraw();
        form->session().recorder().wndProc({form->session().recorder().messages().msgClose, 0, 0});
        QVERIFY(!form->isVisible());
        QTest::qWait(50);
        QCOMPARE(redraws.count(), 0);
    }

    // The tips come once after the first load of a first start, then on
    // demand; tips and notes lead to each other and the tips' box is the
    // setting.
    void tipsComeOnceThenOnDemandAndLeadToTheNotes() {
        UiProfile profile;
        profile.dir.write("PLN/PLN.ini", "[PLN]\r\n");
        std::unique_ptr<tMainForm> form;
        bool offeredTicked = false;
        QVERIFY(whileModal([&] { form = start(profile); },
                           {[&](QDialog& dialog) {
                                auto& tips = static_cast<tTipsForm&>(dialog);
                                offeredTicked = showAtStartup(tips).isChecked();
                                pagesAroundBothWays(tips);
                                showAtStartup(tips).setChecked(false);
                                child<QPushButton>(tips, "notesButton").click();
                            },
                            [&](QDialog& notes) {
                                auto* bugs = qobject_cast<tbugsForm*>(&notes);
                                QVERIFY(bugs);
                                child<QPushButton>(notes, "previousButton").click();
                                QCOMPARE(bugs->noteIndex(), 2u);
                                child<QPushButton>(notes, "tipsButton").click();
                            },
                            [&](QDialog& tips) {
                                QVERIFY(!showAtStartup(tips).isChecked());
                                showAtStartup(tips).setChecked(true);
                                QTest::keyClick(&tips, Qt::Key_Escape);
                            }}));
        QVERIFY(offeredTicked);
        QCOMPARE(form->session().settings().text(settingKey::showTips.name, ""), "1");
        // The tips would come from within the load, before its timer is seen idle.
        QVERIFY(whileModal(
            [&] {
                form->actions().aKFReload->trigger();
                QTRY_VERIFY(!loadTimer(*form)->isActive());
            },
            {}));

        QVERIFY(whileModal(
            [&] { form->actions().aHlpTips->trigger(); },
            {[&](QDialog& tips) {
                 showAtStartup(tips).setChecked(false);
                 child<QPushButton>(tips, "notesButton").click();
             },
             [&](QDialog& notes) { child<QPushButton>(notes, "closeButton").click(); }}));
        QCOMPARE(form->session().settings().get(settingKey::showTips), 0);

        // What --version prints, checked on the installed program by the package test.
        QVERIFY(whileModal<tCreditsForm>(
            [&] { form->actions().aCredits->trigger(); },
            [&](tCreditsForm& credits) {
                QCOMPARE(credits.version(),
                         QString("PLNViewer %1 (Qt %2)").arg(programVersion(), qVersion()));
                QVERIFY(credits.text().contains("Qt Charts"));
                credits.accept();
            }));
    }
};

} // namespace pln::test

QTEST_MAIN(pln::test::MainFormTest)
#include "main_form_test.moc"
