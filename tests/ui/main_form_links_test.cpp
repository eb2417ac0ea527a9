#include "links/core/links_collection.h"
#include "links/ui/copy_format_form.h"
#include "ui/ui_fixture.h"

namespace pln::test {

QString link(const char* name, int size, int n) {
    return QString("ed2k://|file|%1|%2|%3|/")
        .arg(QString::fromLatin1(name))
        .arg(size)
        .arg(QString::fromStdString(hashOf(n)));
}

const char* const urlSchemes[] = {"http", "https", "ftp", "file"};

// The window's link commands on two known files, "a one.avi" listed before
// "b two.avi".
class MainFormLinksTest : public WindowSuite {
    Q_OBJECT

private:
    QList<QUrl> opened_;

    const tMainActions& actions() const { return form_->actions(); }
    void select(const std::vector<int>& rows) { selectRows(form_->knownFilesList().view(), rows); }
    static QString clipboard() { return QApplication::clipboard()->text(); }

public slots:
    // Stands in for the desktop's browser.
    void openUrl(const QUrl& url) { opened_ << url; }

private slots:
    void initTestCase() {
        profile_->add(1, "a one.avi", 100, 7);
        profile_->add(2, "b two.avi", 200, 9);
        profile_->saveKnownMet();
        form_ = session_.open(profile_->locations);
        QVERIFY(listsAllKnownFiles(*form_, 2));
        QCOMPARE(columnTexts(form_->knownFilesList().model()),
                 QStringList({"a one.avi", "b two.avi"}));
        for (const char* scheme : urlSchemes)
            QDesktopServices::setUrlHandler(scheme, this, "openUrl");
    }
    void cleanupTestCase() {
        for (const char* scheme : urlSchemes)
            QDesktopServices::unsetUrlHandler(scheme);
        form_.reset();
    }

    void linkActionsNeedASelectedRowAndExportItInListOrder() {
        const tMainActions& a = actions();
        for (const std::vector<int>& rows : {std::vector<int>{}, {1}, {0, 1}}) {
            select(rows);
            for (const QAction* action : {a.aKFSaveAsCollection, a.aKFCopyAsCollection,
                                          a.aKFCopyAsHtmlCollection, a.aKFCopyFormat})
                QVERIFY2(action->isEnabled() == !rows.empty(), qPrintable(action->objectName()));
        }

        // The exports take the selected rows in list order. The collection
        // dialog starts in the documents, then where the last file went; a
        // cancelled dialog writes nothing, a failed write says so.
        select({1, 0});
        const QString one = link("a%20one.avi", 100, 1);
        const QString two = link("b%20two.avi", 200, 2);
        a.aKFCopyAsCollection->trigger();
        QCOMPARE(clipboard(), one + "\r\n" + two + "\r\n");
        a.aKFCopyAsHtmlCollection->trigger();
        QCOMPARE(clipboard(), "<a href=" + one + ">a one.avi</a><br>\r\n<a href=" + two +
                                  ">b two.avi</a><br>\r\n");

        const std::string saved = profile_->dir.file("links.emulecollection");
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString profileFolder = QString::fromStdString(profile_->dir.path()).chopped(1);
        for (const auto& [chosen, startFolder] :
             {std::pair{QString::fromStdString(saved), documents}, {QString(), profileFolder}}) {
            QtFileDialogs::setNextFileName(chosen);
            a.aKFSaveAsCollection->trigger();
            QCOMPARE(QString::fromStdString(readText(saved)), one + "\r\n" + two + "\r\n");
            const auto& shown = QtFileDialogs::lastShown();
            QCOMPARE(QFileInfo(shown->startFile).absolutePath(), startFolder);
            QCOMPARE(QFileInfo(shown->startFile).fileName(), "links.emulecollection");
            QVERIFY(shown->acceptMode == QFileDialog::AcceptSave && shown->confirmOverwrite);
            QCOMPARE(shown->defaultSuffix, "emulecollection");
        }
        const std::string missing = profile_->dir.file("no/such/folder.emulecollection");
        QtFileDialogs::setNextFileName(QString::fromStdString(missing));
        a.aKFSaveAsCollection->trigger();
        QCOMPARE(
            QtPrompter::shownBoxes().back().text,
            QString::fromStdString("Cannot save \"" + missing + "\": No such file or directory"));
        QtPrompter::clearShownBoxes();
        select({1});
        a.aKFCopyAsCollection->trigger();
        QCOMPARE(clipboard(), two);
    }

    // The dialog offers the stored format; OK stores and copies the new one,
    // Cancel changes nothing.
    void userFormatIsStoredAndCopied() {
        select({0, 1});
        QString offered;
        for (const QString& format : {QString("<name>\\t<transferred>"), QString()}) {
            QVERIFY(whileModal<tCopyFormatForm>(
                [&] { actions().aKFCopyFormat->trigger(); },
                [&](tCopyFormatForm& form) {
                    auto* box = form.findChild<QLineEdit*>("formatBox");
                    offered = box->text();
                    box->setText(format);
                    form.findChild<QPushButton*>(format.isEmpty() ? "cancelButton" : "okButton")
                        ->click();
                }));
            QCOMPARE(clipboard(), "a one.avi\t7\r\nb two.avi\t9\r\n");
            select({0});
        }
        QCOMPARE(offered, "<name>\\t<transferred>");
        QCOMPARE(form_->session().settings().get(settingKey::copyFormat), "<name>\\t<transferred>");
    }

    // Every button writes at the caret, over any selected text, a
    // placeholder that the copy replaces by the file's value.
    void speedButtonsWritePlaceholdersTheCopyKnows() {
        tCopyFormatForm form;
        QVERIFY(form.findChild<QPushButton*>("okButton")->isDefault());
        auto* box = form.findChild<QLineEdit*>("formatBox");
        const std::vector<tLinkRow> row{{&profile_->known.record(0), "D:\\new"}};
        const QList<QToolButton*> buttons = form.findChildren<QToolButton*>();
        QCOMPARE(buttons.size(), 14);
        for (QToolButton* button : buttons) {
            form.setFormat("<size>");
            box->setCursorPosition(0);
            button->click();
            const QString inserted = box->text().chopped(6);
            box->setSelection(static_cast<int>(inserted.size()), 6);
            button->click();
            QCOMPARE(box->text(), inserted + inserted);
            QCOMPARE(box->cursorPosition(), 2 * inserted.size());
            const std::vector<std::string> copied = getLinksCollection(inserted.toStdString(), row);
            QVERIFY2(copied.size() == 1 && copied[0] != inserted.toStdString(),
                     qPrintable(inserted));
        }
    }

    // The menu is read afresh from webservices.dat as it opens: one item a
    // service, enabled for one file only, or one disabled item that says why
    // there is none. Items open only web addresses.
    void webServicesFollowTheFileAndTheSelection() {
        const tMainActions& a = actions();
        const std::string file = profile_->dir.file("eMule/config/webservices.dat");
        const QStringList none{"No filename based webservices found"};
        const QStringList services{"By name", "By hash", "Local"};
        const struct {
            const char* text; // null: no file
            std::vector<int> rows;
            QStringList items;
            bool enabled;
        } cases[] = {
            {nullptr, {1}, none, false},
            {"Size #filesize\r\nHash #hashid\r\n", {1}, none, false},
            {"# services\r\n  # Indented,http://c/?q=#hashid\r\n\r\n"
             "eMule home,http://www.emule-project.net/\r\n  By name ,  http://s/?q=#name\r\n"
             "By hash,https://h/#HashID\r\nNo comma #filesize\r\nLocal,/usr/bin/run #hashid\r\n",
             {0, 1},
             services,
             false},
            {nullptr, {1}, services, true}};
        bool popup = false;
        for (const auto& c : cases) {
            if (c.text)
                profile_->dir.write("eMule/config/webservices.dat", c.text);
            select(c.rows);
            emit(popup ? a.knownFilesPopup : a.knownFilesMenu)->aboutToShow();
            QMenu* menu = popup ? a.webServicesPopup : a.webServicesMenu;
            popup = !popup;
            QCOMPARE(menuTexts(menu), c.items);
            for (const QAction* item : menu->actions())
                QCOMPARE(item->isEnabled(), c.enabled);
        }
        for (QAction* item : a.webServicesPopup->actions())
            item->trigger();
        const QString hash = QString::fromStdString(hashOf(2));
        QCOMPARE(opened_, QList<QUrl>({QUrl("http://s/?q=b+two"), QUrl("https://h/" + hash)}));
        QCOMPARE(QtPrompter::shownBoxes().back().text,
                 "The web service address \"/usr/bin/run " + hash +
                     "\" is not an http, https or ftp address.");
        QtPrompter::clearShownBoxes();

        std::filesystem::remove(file);
        std::filesystem::create_directory(file);
        emit a.knownFilesMenu->aboutToShow();
        QCOMPARE(menuTexts(a.webServicesMenu),
                 QStringList{QString::fromStdString("Cannot open \"" + file + "\".")});
    }
};

} // namespace pln::test

QTEST_MAIN(pln::test::MainFormLinksTest)
#include "main_form_links_test.moc"
