#include "app/core/startup.h"
#include "app/ui/local_text.h"
#include "app/ui/main_form.h"
#include "app/ui/qt_prompter.h"
#include "platform/platform.h"
#include "support/temp_dir.h"

#include <QDate>
#include <QFile>
#include <QLocale>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <memory>

using namespace pln;

namespace {

const std::string emptyKnownMet("\x0E\x00\x00\x00\x00", 5);

// A settled file: the load cycle leaves files younger than 2 s for later.
void writeSettled(const test::TempDir& dir, const std::string& name, const std::string& bytes) {
    const std::string path = dir.write(name, bytes);
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() -
                                               std::chrono::hours(1));
}

// An eMule profile and the viewer's folders as the start-up rule leaves
// them, in a folder of its own.
struct Profile {
    test::TempDir dir;
    tLocations locations;

    Profile() {
        writeSettled(dir, "eMule/config/known.met", emptyKnownMet);
        dir.write("eMule/config/preferences.ini", "[eMule]\r\nPort=4662\r\n");
        dir.mkdir("PLN/PLN logs");
        dir.mkdir("program");
        locations.programFolder = dir.file("program/");
        locations.eMuleFolder = dir.path();
        locations.eMuleConfigBase = dir.file("eMule/");
        locations.eMuleConfigFolder = dir.file("eMule/config/");
        locations.dataFolder = dir.file("PLN/");
        locations.logsFolder = dir.file("PLN/PLN logs/");
        locations.messagePrefix = locations.eMuleConfigFolder;
    }

    // A recorder stand-in that only leaves a mark that it was started.
    std::string installRecorder() const {
        const std::string script = dir.write("program/PLN", "#!/bin/sh\ntouch \"$0.started\"\n");
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        return script + ".started";
    }
};

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private:
    test::TempDir runtime_;
    std::unique_ptr<NativePlatform> native_;
    QtPrompter prompter_;

    Platform& platform() { return native_->services(); }
    std::unique_ptr<tMainForm> start(const Profile& profile) {
        return tMainForm::create(platform(), prompter_, profile.locations, 6);
    }
    static QTimer* loadTimer(tMainForm& form) { return form.findChild<QTimer*>("timer"); }

private slots:
    void initTestCase() {
        // The names of the single-viewer marks live here, away from the user's.
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime_.path()));
        native_ = std::make_unique<NativePlatform>();
        QtPrompter::interceptBoxes(true);
    }

    void captionShowsTheConfigurationFolder() {
        Profile profile;
        auto form = start(profile);
        QVERIFY(form);
        QCOMPARE(form->windowTitle(),
                 QString::fromStdString("PLN - " + profile.dir.path() + "eMule/config/"));
    }

    void oneViewerPerConfiguration() {
        Profile profile;
        Profile other;
        auto first = start(profile);
        QVERIFY(first);
        QVERIFY(!start(profile));
        auto second = start(other);
        QVERIFY(second);
        first.reset();
        QVERIFY(start(profile));
    }

    void firstTickLoadsKnownMet() {
        Profile profile;
        auto form = start(profile);
        QTimer* timer = loadTimer(*form);
        QVERIFY(timer);
        QVERIFY(timer->isActive());
        QCOMPARE(form->knownMet().list(), nullptr);
        QTRY_VERIFY(form->knownMet().list() != nullptr);
        QVERIFY(!timer->isActive());
        QCOMPARE(form->knownMet().fileName(), profile.locations.eMuleConfigFolder + "known.met");
    }

    void failedLoadIsRetriedEveryTwoSeconds() {
        Profile profile;
        writeSettled(profile.dir, "eMule/config/known.met", std::string("\x0D\0\0\0\0", 5));
        auto form = start(profile);
        QTimer* timer = loadTimer(*form);
        QVERIFY(timer);
        QTRY_COMPARE(timer->interval(), 2000);
        QVERIFY(timer->isActive());
        QCOMPARE(form->knownMet().list(), nullptr);

        writeSettled(profile.dir, "eMule/config/known.met", emptyKnownMet);
        QTRY_VERIFY_WITH_TIMEOUT(form->knownMet().list() != nullptr, 5000);
        QVERIFY(!timer->isActive());
    }

    void startsTheRecorderOnlyWhenItIsNotRunning() {
        Profile running;
        const std::string runningMark = running.installRecorder();
        auto recorder = platform().mutexes.create(recorderMutexName(running.locations));
        QVERIFY(recorder.handle);
        auto form = start(running);
        QVERIFY(form);
        QTest::qWait(300);
        QVERIFY(!QFile::exists(QString::fromStdString(runningMark)));

        Profile stopped;
        const std::string stoppedMark = stopped.installRecorder();
        auto other = start(stopped);
        QVERIFY(other);
        QTRY_VERIFY(QFile::exists(QString::fromStdString(stoppedMark)));
        QVERIFY(!platform().mutexes.isHeld(recorderMutexName(stopped.locations)));
    }

    void readsTheSettingsAtStartup() {
        Profile fresh;
        auto form = start(fresh);
        const QString never = QString::fromStdString(form->getIniString("lastCompressDate", ""));
        QVERIFY2(never.startsWith("Never since " + QLocale::system().toString(
                                                       QDate::currentDate(), QLocale::ShortFormat)),
                 qPrintable(never));
        QCOMPARE(form->values().pointsPerPixel, 4);
        QCOMPARE(form->values().compressionThreshold, 30);

        Profile used;
        used.dir.write("PLN/PLN.ini", "[PLN]\r\nlastCompressDate=01/02/2020 10:00:00\r\n"
                                      "pointsPerPixel=0\r\ncompressionThreshold=45\r\n");
        auto second = start(used);
        QCOMPARE(second->getIniString("lastCompressDate", ""), "01/02/2020 10:00:00");
        QCOMPARE(second->values().pointsPerPixel, 1);
        QCOMPARE(second->getIniInt("pointsPerPixel", 4), 0);
        QCOMPARE(second->values().compressionThreshold, 45);
    }

    void dateTimeTextHasNoTimeZone() {
        // 39000.5 days after 1899-12-30 is 10 October 2006, noon.
        const QString text =
            QString::fromStdString(localDateTimeText(39000LL * 86'400'000 + 43'200'000));
        const QLocale locale = QLocale::system();
        QVERIFY2(text.startsWith(locale.toString(QDate(2006, 10, 10), QLocale::ShortFormat) + ' '),
                 qPrintable(text));
        QVERIFY2(text.contains("12:00:00"), qPrintable(text));
        QVERIFY2(!text.contains("UTC"), qPrintable(text));
    }

    void boxesAreTitledAndIntercepted() {
        QtPrompter::clearShownBoxes();
        prompter_.showError("Cannot do it");
        QtPrompter::setNextAnswer(true);
        QVERIFY(prompter_.confirm("Sure?"));
        QVERIFY(!prompter_.confirm("Again?"));
        const auto& shown = QtPrompter::shownBoxes();
        QCOMPARE(shown.size(), 3u);
        QCOMPARE(shown[0].title, "PLN");
        QCOMPARE(shown[0].icon, QMessageBox::Critical);
        QCOMPARE(shown[0].text, "Cannot do it");
        QCOMPARE(shown[1].icon, QMessageBox::Question);
        QCOMPARE(shown[1].buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(shown[2].text, "Again?");
    }
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
