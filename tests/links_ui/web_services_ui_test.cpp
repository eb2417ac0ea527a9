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

    // The menu is built afresh from the file; without services, or when the
    // file cannot be read, one disabled item says so.
    void itemsFollowTheFile() {
        QMenu menu;
        menu.addAction("stale");
        const std::string file = dir_.write("webservices.dat", servicesText);
        const std::string folder = dir_.mkdir("folder.dat");
        const struct {
            std::string path;
            QStringList items;
            QList<bool> enabled;
        } rows[] = {{file, {"By name", "By hash", "Local"}, {true, true, true}},
                    {dir_.file("missing.dat"), {"No filename based webservices found"}, {false}},
                    {dir_.write("nocomma.dat", "Size #filesize\r\nHash #hashid\r\n"),
                     {"No filename based webservices found"},
                     {false}},
                    {folder, {QString::fromStdString("Cannot open \"" + folder + "\".")}, {false}}};
        for (const auto& row : rows) {
            buildWebServicesMenu(menu, row.path, 1, first_, prompter_);
            QCOMPARE(captions(menu), row.items);
            QCOMPARE(enabledStates(menu), row.enabled);
        }
        buildWebServicesMenu(menu, file, 2, first_, prompter_);
        QCOMPARE(enabledStates(menu), QList<bool>({false, false, false}));
    }

    void itemsOpenOnlyWebAddresses() {
        QMenu menu;
        buildWebServicesMenu(menu, dir_.write("webservices.dat", servicesText), 1, first_,
                             prompter_);
        for (QAction* item : menu.actions())
            item->trigger();
        QCOMPARE(browser_.opened,
                 QList<QUrl>({QUrl("http://s/?q=a+b.part"),
                              QUrl("https://h/0123456789ABCDEF0123456789ABCDEF")}));
        QCOMPARE(prompter_.errors(),
                 std::vector<std::string>{"The web service address \"/usr/bin/run "
                                          "0123456789ABCDEF0123456789ABCDEF\" is not an http, "
                                          "https or ftp address."});
    }
};

QTEST_MAIN(WebServicesMenuTest)
#include "web_services_ui_test.moc"
