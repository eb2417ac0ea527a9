#include "app/ui/known_files_list.h"
#include "app/ui/list_view.h"
#include "app/ui/main_form.h"
#include "app/ui/qt_prompter.h"
#include "common/file_io.h"
#include "links/ui/qt_file_dialogs.h"
#include "platform/platform.h"
#include "ui/ui_fixture.h"
#include "ui/ui_profile.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace pln;
using test::menuTexts;
using test::UiProfile;

namespace {

QMenu* submenu(const QMenu* menu, const QString& title) {
    for (const QAction* action : menu->actions())
        if (action->menu() && action->text() == title)
            return action->menu();
    return nullptr;
}

QString link(const char* name, int size, int n) {
    return QString("ed2k://|file|%1|%2|%3|/")
        .arg(QString::fromLatin1(name))
        .arg(size)
        .arg(QString::fromStdString(test::hashOf(n)));
}

} // namespace

class MainFormLinksTest : public QObject {
    Q_OBJECT

private:
    test::UiSession session_;
    std::unique_ptr<UiProfile> profile_;
    std::unique_ptr<tMainForm> form_;

    // Two known files, "a one.avi" listed before "b two.avi".
    void startWithTwoFiles() {
        profile_ = std::make_unique<UiProfile>();
        profile_->add(1, "a one.avi", 100, 7);
        profile_->add(2, "b two.avi", 200, 9);
        profile_->saveKnownMet();
        form_ = session_.open(profile_->locations);
        QVERIFY(test::listsAllKnownFiles(*form_, 2));
        QCOMPARE(form_->knownFilesList().model().table().row(0).name, std::string("a one.avi"));
    }

    void select(const std::vector<int>& rows) {
        test::selectRows(form_->knownFilesList().view(), rows);
    }

    std::vector<QAction*> linkActions() const {
        const tMainActions& a = form_->actions();
        return {a.aKFSaveAsCollection, a.aKFCopyAsCollection, a.aKFCopyAsHtmlCollection,
                a.aKFCopyFormat};
    }

private slots:
    void cleanup() {
        form_.reset();
        profile_.reset();
    }

    void linkActionsSitInBothKnownFilesMenus() {
        startWithTwoFiles();
        const tMainActions& a = form_->actions();
        for (const QMenu* menu : {a.knownFilesMenu, a.knownFilesPopup}) {
            const QMenu* links = submenu(menu, "ed2k &links");
            QVERIFY(links);
            QCOMPARE(menuTexts(links),
                     QStringList({"&Save link(s) as eMuleCollection (text format only)...",
                                  "&Copy link(s) to clipboard",
                                  "Copy &HTML formatted link(s) to clipboard",
                                  "Copy user &formatted link(s) to clipboard..."}));
            QCOMPARE(menu->actions().last()->text(), "&Web services");
        }
        QCOMPARE(submenu(a.knownFilesMenu, "&Web services"), a.webServicesMenu);
        QCOMPARE(submenu(a.knownFilesPopup, "&Web services"), a.webServicesPopup);
    }

    void linkActionsNeedASelectedRow() {
        startWithTwoFiles();
        for (const auto& rows :
             {std::initializer_list<int>{}, std::initializer_list<int>{1}, {0, 1}}) {
            select(rows);
            for (const QAction* action : linkActions())
                QVERIFY2(action->isEnabled() == (rows.size() > 0),
                         qPrintable(action->objectName()));
        }
    }

    void copiesTheSelectedLinksInListOrder() {
        startWithTwoFiles();
        select({1, 0});
        QClipboard* clipboard = QApplication::clipboard();
        form_->actions().aKFCopyAsCollection->trigger();
        const QString one = link("a%20one.avi", 100, 1);
        const QString two = link("b%20two.avi", 200, 2);
        QCOMPARE(clipboard->text(), one + "\r\n" + two + "\r\n");

        form_->actions().aKFCopyAsHtmlCollection->trigger();
        QCOMPARE(clipboard->text(), "<a href=" + one + ">a one.avi</a><br>\r\n<a href=" + two +
                                        ">b two.avi</a><br>\r\n");

        const std::string saved = profile_->dir.file("links.emulecollection");
        QtFileDialogs::setNextFileName(QString::fromStdString(saved));
        form_->actions().aKFSaveAsCollection->trigger();
        const std::vector<std::uint8_t> bytes = readWholeFile(saved);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                            static_cast<qsizetype>(bytes.size())),
                 (one + "\r\n" + two + "\r\n").toLatin1());

        select({1});
        form_->actions().aKFCopyAsCollection->trigger();
        QCOMPARE(clipboard->text(), two);

        // The user's format comes from the settings and goes back to them.
        select({0, 1});
        form_->session().setIniString("copyFormat", "<name>\\t<transferred>");
        auto* answer = new QTimer(this);
        connect(answer, &QTimer::timeout, answer, [answer] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialog->accept();
                answer->deleteLater();
            }
        });
        answer->start(20);
        form_->actions().aKFCopyFormat->trigger();
        QCOMPARE(clipboard->text(), "a one.avi\t7\r\nb two.avi\t9\r\n");
        QCOMPARE(form_->session().getIniString("copyFormat", ""), "<name>\\t<transferred>");
    }

    void webServicesListTheServicesForOneSelectedFile() {
        startWithTwoFiles();
        const tMainActions& a = form_->actions();
        emit a.knownFilesMenu->aboutToShow();
        QCOMPARE(menuTexts(a.webServicesMenu),
                 QStringList({"No filename based webservices found"}));
        QVERIFY(!a.webServicesMenu->actions().first()->isEnabled());

        profile_->dir.write("eMule/config/webservices.dat",
                            "# comment,http://example.net/#hashid\r\n"
                            "eMule Project,https://www.emule-project.net/\r\n"
                            "Web search by name,https://duckduckgo.com/?q=#cleanname\r\n"
                            "File details,https://files.example.org/?hash=#HashID\r\n");
        select({1});
        emit a.knownFilesMenu->aboutToShow();
        QCOMPARE(menuTexts(a.webServicesMenu), QStringList({"Web search by name", "File details"}));
        for (const QAction* item : a.webServicesMenu->actions())
            QVERIFY(item->isEnabled());

        select({0, 1});
        emit a.knownFilesPopup->aboutToShow();
        QCOMPARE(menuTexts(a.webServicesPopup),
                 QStringList({"Web search by name", "File details"}));
        for (const QAction* item : a.webServicesPopup->actions())
            QVERIFY(!item->isEnabled());
    }
};

QTEST_MAIN(MainFormLinksTest)
#include "main_form_links_test.moc"
