#include "links/ui/web_services_menu.h"
#include "support/recording_prompter.h"
#include "support/temp_dir.h"

#include <QDesktopServices>
#include <QMenu>
#include <QTest>
#include <QUrl>
#include <memory>

using namespace pln;

namespace {

const std::string servicesText = "# eMule web services\r\n"
                                 "   # Indented comment,http://c/?q=#hashid\r\n"
                                 "\r\n"
                                 "eMule home,http://www.emule-project.net/\r\n"
                                 "  By name ,  http://s/?q=#name\r\n"
                                 "By hash,https://h/#HashID\r\n"
                                 "No comma #filesize\r\n"
                                 "Local,/usr/bin/run #hashid\r\n";

QStringList captions(const QMenu& menu) {
    QStringList list;
    for (const QAction* action : menu.actions())
        list << action->text();
    return list;
}

QList<bool> enabledStates(const QMenu& menu) {
    QList<bool> list;
    for (const QAction* action : menu.actions())
        list << action->isEnabled();
    return list;
}

} // namespace

// Stands in for the desktop's browser.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class WebServicesMenuTest : public QObject {
    Q_OBJECT

    test::TempDir dir_;
    test::RecordingPrompter prompter_;
    UrlRecorder browser_;
    std::unique_ptr<tKnownMetRecord> record_ = tKnownMetRecord::createFromValues(
        "a b.part.met", "0123456789ABCDEF0123456789ABCDEF", 0, 0, 0, 99, "");
    tFirstSelectedRecord first_ = [this] { return record_.get(); };

private slots:
    void initTestCase() {
        for (const char* scheme : {"http", "https", "ftp", "file"})
            QDesktopServices::setUrlHandler(scheme, &browser_, "open");
    }

    void cleanupTestCase() {
        for (const char* scheme : {"http", "https", "ftp", "file"})
            QDesktopServices::unsetUrlHandler(scheme);
    }

    void itemsFollowTheFileAndTheSelection() {
        std::string file = dir_.write("webservices.dat", servicesText);
        QMenu menu;
        menu.addAction("stale");
        buildWebServicesMenu(menu, file, 1, first_, prompter_);
        QCOMPARE(captions(menu), QStringList({"By name", "By hash", "Local"}));
        QCOMPARE(enabledStates(menu), QList<bool>({true, true, true}));
        buildWebServicesMenu(menu, file, 2, first_, prompter_);
        QCOMPARE(captions(menu), QStringList({"By name", "By hash", "Local"}));
        QCOMPARE(enabledStates(menu), QList<bool>({false, false, false}));
    }

    void withoutServicesOneDisabledItem() {
        QMenu menu;
        buildWebServicesMenu(menu, dir_.file("missing.dat"), 1, first_, prompter_);
        QCOMPARE(captions(menu), QStringList({"No filename based webservices found"}));
        QCOMPARE(enabledStates(menu), QList<bool>({false}));
        std::string noComma = dir_.write("nocomma.dat", "Size #filesize\r\nHash #hashid\r\n");
        buildWebServicesMenu(menu, noComma, 1, first_, prompter_);
        QCOMPARE(captions(menu), QStringList({"No filename based webservices found"}));
        std::string folder = dir_.mkdir("folder.dat");
        buildWebServicesMenu(menu, folder, 1, first_, prompter_);
        QCOMPARE(captions(menu),
                 QStringList({QString::fromStdString("Cannot open \"" + folder + "\".")}));
        QCOMPARE(enabledStates(menu), QList<bool>({false}));
    }

    void itemsOpenOnlyWebAddresses() {
        std::string file = dir_.write("webservices.dat", servicesText);
        QMenu menu;
        buildWebServicesMenu(menu, file, 1, first_, prompter_);
        menu.actions()[0]->trigger();
        menu.actions()[1]->trigger();
        QCOMPARE(browser_.opened.size(), 2);
        QCOMPARE(browser_.opened[0].toEncoded(), "http://s/?q=a+b.part");
        QCOMPARE(browser_.opened[1].toEncoded(), "https://h/0123456789ABCDEF0123456789ABCDEF");
        QVERIFY(prompter_.shown.empty());
        menu.actions()[2]->trigger();
        QCOMPARE(browser_.opened.size(), 2);
        QCOMPARE(prompter_.errors(),
                 std::vector<std::string>{"The web service address \"/usr/bin/run "
                                          "0123456789ABCDEF0123456789ABCDEF\" is not an http, "
                                          "https or ftp address."});
    }
};

QTEST_MAIN(WebServicesMenuTest)
#include "web_services_ui_test.moc"
