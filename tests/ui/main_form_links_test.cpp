#include "app/ui/known_files_list.h"
#include "app/ui/list_view.h"
#include "app/ui/main_form.h"
#include "common/setting_keys.h"
#include "links/ui/qt_file_dialogs.h"
#include "ui/ui_fixture.h"
#include "ui/ui_profile.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace pln;
using test::menuTexts;

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

// The window's link commands on two known files, "a one.avi" listed before
// "b two.avi".
class MainFormLinksTest : public QObject {
    Q_OBJECT

private:
    test::UiSession session_;
    test::UiProfile profile_;
    std::unique_ptr<tMainForm> form_;

    const tMainActions& actions() const { return form_->actions(); }
    void select(const std::vector<int>& rows) {
        test::selectRows(form_->knownFilesList().view(), rows);
    }

private slots:
    void initTestCase() {
        profile_.add(1, "a one.avi", 100, 7);
        profile_.add(2, "b two.avi", 200, 9);
        profile_.saveKnownMet();
        form_ = session_.open(profile_.locations);
        QVERIFY(test::listsAllKnownFiles(*form_, 2));
        QCOMPARE(test::columnTexts(form_->knownFilesList().model()),
                 QStringList({"a one.avi", "b two.avi"}));
    }
    void cleanupTestCase() { form_.reset(); }

    void linkActionsSitInBothMenusAndNeedASelectedRow() {
        const tMainActions& a = actions();
        const QList<QAction*> links{a.aKFSaveAsCollection, a.aKFCopyAsCollection,
                                    a.aKFCopyAsHtmlCollection, a.aKFCopyFormat};
        for (const QMenu* menu : {a.knownFilesMenu, a.knownFilesPopup}) {
            QVERIFY(submenu(menu, "ed2k &links"));
            QCOMPARE(submenu(menu, "ed2k &links")->actions(), links);
            QCOMPARE(menu->actions().last()->text(), "&Web services");
        }
        QCOMPARE(submenu(a.knownFilesMenu, "&Web services"), a.webServicesMenu);
        QCOMPARE(submenu(a.knownFilesPopup, "&Web services"), a.webServicesPopup);
        for (const std::vector<int>& rows : {std::vector<int>{}, {1}, {0, 1}}) {
            select(rows);
            for (const QAction* action : links)
                QVERIFY2(action->isEnabled() == !rows.empty(), qPrintable(action->objectName()));
        }
    }

    void exportsTakeTheSelectedRowsInListOrder() {
        select({1, 0});
        const QString one = link("a%20one.avi", 100, 1);
        const QString two = link("b%20two.avi", 200, 2);
        actions().aKFCopyAsCollection->trigger();
        QCOMPARE(QApplication::clipboard()->text(), one + "\r\n" + two + "\r\n");
        actions().aKFCopyAsHtmlCollection->trigger();
        QCOMPARE(QApplication::clipboard()->text(), "<a href=" + one +
                                                        ">a one.avi</a><br>\r\n<a href=" + two +
                                                        ">b two.avi</a><br>\r\n");
        const std::string saved = profile_.dir.file("links.emulecollection");
        QtFileDialogs::setNextFileName(QString::fromStdString(saved));
        actions().aKFSaveAsCollection->trigger();
        QCOMPARE(QString::fromStdString(test::readText(saved)), one + "\r\n" + two + "\r\n");
        select({1});
        actions().aKFCopyAsCollection->trigger();
        QCOMPARE(QApplication::clipboard()->text(), two);
        select({0, 1});

        // The user's format comes from the settings and goes back to them.
        form_->session().settings().set(settingKey::copyFormat, "<name>\\t<transferred>");
        QTimer::singleShot(0, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->accept();
        });
        actions().aKFCopyFormat->trigger();
        QCOMPARE(QApplication::clipboard()->text(), "a one.avi\t7\r\nb two.avi\t9\r\n");
        QCOMPARE(form_->session().settings().get(settingKey::copyFormat), "<name>\\t<transferred>");
    }

    // The menu is read afresh as it opens; a service runs for one file only.
    void webServicesFollowTheFileAndTheSelection() {
        const tMainActions& a = actions();
        profile_.dir.write("eMule/config/webservices.dat",
                           "eMule Project,https://www.emule-project.net/\r\n"
                           "Web search by name,https://duckduckgo.com/?q=#cleanname\r\n");
        for (const auto& [rows, menu, submenu] :
             {std::tuple{std::vector<int>{1}, a.knownFilesMenu, a.webServicesMenu},
              {std::vector<int>{0, 1}, a.knownFilesPopup, a.webServicesPopup}}) {
            select(rows);
            emit menu->aboutToShow();
            QCOMPARE(menuTexts(submenu), QStringList{"Web search by name"});
            QCOMPARE(submenu->actions().first()->isEnabled(), rows.size() == 1);
        }
    }
};

QTEST_MAIN(MainFormLinksTest)
#include "main_form_links_test.moc"
