#include "common/text.h"
#include "links/core/links_collection.h"
#include "links/ui/copy_format_form.h"
#include "ui/ui_fixture.h"

namespace pln::test {

const QString hashLine = "HASH" + QString(29, ' ') + "HASH";
constexpr int nameColumn = 0, logColumn = 1, sizeColumn = 2, dledColumn = 6, dlTimeColumn = 9;

QString link(const std::string& name, int size, int n) {
    return QString::fromStdString("ed2k://|file|" + name + '|' + std::to_string(size) + '|' +
                                  hashOf(n) + "|/");
}

const char* const urlSchemes[] = {"http", "https", "ftp", "file"};

class KnownFilesListTest : public WindowSuite {
    Q_OBJECT

private:
    QList<QUrl> opened_;

    tKnownFilesModel& model() { return form_->knownFilesList().model(); }
    tListView& view() { return form_->knownFilesList().view(); }
    QString cell(int row, int column) { return model().index(row, column).data().toString(); }
    // The names top to bottom, one space apart.
    QString names() { return columnTexts(model()).join(' '); }
    int rowOf(const QString& name) { return test::rowOf(model(), name); }
    tIdleWork* idleWork() { return form_->findChild<tIdleWork*>(); }
    // As if the graphs had drawn that file in that colour.
    void drawIn(const QString& name, tColour colour) {
        tGraphResult drawing;
        drawing.drawnKnownFiles.push_back(
            {model().recordAt(rowOf(name))->hash.toString(), 1, colour});
        form_->session().drawnColours() = drawnColours(drawing);
        view().viewport()->update();
        // A drawing ends by asking for the read-out; the actions follow
        // when that idle pass is served.
        idleWork()->requestReadout();
        QVERIFY(idle());
    }
    bool ticked(const QString& name) { return test::ticked(model(), name); }
    void setTick(const QString& name, bool tick) { QVERIFY(test::setTick(model(), name, tick)); }
    // The graphs colour the files they draw at idle time: the drawing a
    // selection asks for is over before a test colours a file itself.
    void clickCheckBox(const QString& name) {
        QStyleOptionViewItem option;
        option.initFrom(&view());
        option.rect = view().visualRect(model().index(rowOf(name), 0));
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        const QRect box =
            view().style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &view());
        QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, box.center());
    }
    void select(const QStringList& rows) {
        QSignalSpy drawn(idleWork(), &tIdleWork::redrawDue);
        selectNamed(view(), rows);
        QTRY_VERIFY(drawn.count() > 0);
        QVERIFY(idle());
    }
    void withCtrl(const std::function<void()>& act) {
        QTest::keyPress(&view(), Qt::Key_Control, Qt::ControlModifier);
        act();
        QTest::keyRelease(&view(), Qt::Key_Control, Qt::NoModifier);
    }
    void clickHeader(int column, Qt::MouseButton button = Qt::LeftButton) {
        QHeaderView* header = view().header();
        const QPoint at(header->sectionViewportPosition(column) + 10, header->height() / 2);
        if (button == Qt::LeftButton)
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        else
            emit header->customContextMenuRequested(at);
    }
    bool logExists(int n, const char* ext) { return profile_->logExists(hashOf(n), ext); }
    // Waits until the window has served every idle request and has no load
    // armed: what a test counts or colours next is then its own doing, not
    // the tail of a drawing or a reload still under way.
    bool idle() {
        const auto* idleTimer = form_->findChild<QTimer*>("idleTimer");
        const auto* loadTimer = form_->findChild<QTimer*>("timer");
        return QTest::qWaitFor([&] {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents();
            return !idleTimer->isActive() && !loadTimer->isActive();
        });
    }
    QString tagsText() {
        return idle() ? form_->findChild<QPlainTextEdit*>("tagsBox")->toPlainText()
                      : "(still busy)";
    }

    static QString clipboard() { return QApplication::clipboard()->text(); }

public slots:
    // Stands in for the desktop's browser.
    void openUrl(const QUrl& url) { opened_ << url; }

private slots:
    void initTestCase() {
        for (const char* scheme : urlSchemes)
            QDesktopServices::setUrlHandler(scheme, this, "openUrl");
    }
    void cleanupTestCase() {
        for (const char* scheme : urlSchemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    void init() {
        // Five files: 1 and 3 logged (1 active, 3 inactive), 5 still downloading.
        profile_->add(1, "delta.avi", 1000, 5);
        profile_->add(2, "Charlie.mkv", 999, 7).date = 1'600'000'000;
        profile_->add(3, "bravo.iso", 1'000'000'000'000ull);
        profile_->add(4, "alpha.mp3", 20);
        tKnownMetTag part;
        part.nameId = tagId::partFileName;
        part.tagType = tagType::string;
        part.setText("001.part");
        profile_->add(5, "echo.zip", 30).tags.append(part);
        profile_->saveKnownMet();
        profile_->writeLog(hashOf(1), tLogState::active);
        profile_->writeLog(hashOf(3), tLogState::inactive);
        form_ = session_.open(profile_->locations);
        // Wide enough for every column header to be clicked.
        QVERIFY(form_ && showExposed(*form_, {1800, 600}));
        testModel(model());
        QVERIFY(listsAllKnownFiles(*form_, 5) && idle());
        QtPrompter::clearShownBoxes();
    }

    void cleanup() { closeWindow(); }

    void cellsShowTheRecordsAndHeaderClicksSortThem() {
        // Active log first, then inactive, then none; by name within each.
        QCOMPARE(names(), "delta.avi bravo.iso alpha.mp3 Charlie.mkv echo.zip");
        QCOMPARE(columnTexts(model(), logColumn).join(' '), "Active Inactive None None None");
        QVERIFY(ticked("delta.avi") && !ticked("bravo.iso"));
        QCOMPARE(cell(1, sizeColumn), QLocale::system().toString(1'000'000'000'000ull));
        QCOMPARE(cell(0, 4) + ' ' + cell(0, 5),
                 QLocale::system().toString(5) + ' ' + QString::fromStdString(hashOf(1)));
        QCOMPARE(cell(0, dledColumn) + cell(4, dledColumn), "NoYes");
        // Unshared files have no date, path or download time.
        for (int column : {7, 8, dlTimeColumn})
            QCOMPARE(cell(4, column), QString());
        QVERIFY(model().index(0, sizeColumn).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
        const auto icon = [&](int column) {
            return model().headerData(column, Qt::Horizontal, Qt::DecorationRole).value<QPixmap>();
        };
        QVERIFY(!icon(logColumn).isNull() && icon(dlTimeColumn).isNull());
        QCOMPARE(view().currentIndex().row(), 0);
        QVERIFY(view().selectionModel()->selectedRows().isEmpty());

        select({"Charlie.mkv"});
        clickHeader(sizeColumn);
        QCOMPARE(names(), "alpha.mp3 echo.zip Charlie.mkv delta.avi bravo.iso");
        QCOMPARE(view().selectionModel()->selectedRows().value(0).row(), 2);
        clickHeader(sizeColumn);
        QVERIFY(names().startsWith("bravo.iso "));
        QCOMPARE(form_->knownFilesList().model().table().sortOrder().imageOf(sizeColumn), 2);

        // Right click turns Log round in place and sorts on every priority.
        clickHeader(logColumn, Qt::RightButton);
        QCOMPARE(form_->knownFilesList().model().table().sortOrder().imageOf(logColumn), 4);
        clickHeader(logColumn);
        // Rows equal on Log keep the size order they had.
        QCOMPARE(names(), "Charlie.mkv echo.zip alpha.mp3 bravo.iso delta.avi");
        QCOMPARE(view().selectionModel()->selectedRows().value(0).row(), 0);

        // A click puts Name, far down the priorities, first.
        clickHeader(nameColumn);
        QCOMPARE(names(), "alpha.mp3 bravo.iso Charlie.mkv delta.avi echo.zip");
        view().header()->moveSection(0, 3);
        QCOMPARE(view().header()->visualIndex(nameColumn), 0);
    }

    void filtersRebuildTheList() {
        profile_->share(*model().recordAt(rowOf("Charlie.mkv")), "Charlie.mkv");
        actions().aKFShowShared->trigger();
        QTRY_COMPARE(names(), "Charlie.mkv");
        QCOMPARE(cell(0, 8), QString::fromStdString(profile_->dir.file("eMule/Incoming/")));

        actions().aKFShowLogged->trigger();
        QTRY_COMPARE(names(), "delta.avi bravo.iso");
        QVERIFY(!actions().aKFShowAll->isChecked());
        // A deleted log leaves its row until the next reload.
        QtPrompter::setNextAnswer(true);
        form_->knownFilesList().deleteThisLog(static_cast<std::size_t>(rowOf("bravo.iso")));
        QCOMPARE(model().rowCount(), 2);
        actions().aKFReload->trigger();
        QTRY_COMPARE(model().rowCount(), 1);
    }

    void ticksSwitchTheLogsOnDisk() {
        setTick("alpha.mp3", true);
        QVERIFY(logExists(4, ".pln_on") && ticked("alpha.mp3"));
        QCOMPARE(cell(rowOf("alpha.mp3"), logColumn), "Active");

        setTick("delta.avi", false);
        QVERIFY(logExists(1, ".pln_off") && !logExists(1, ".pln_on"));
        QCOMPARE(cell(rowOf("delta.avi"), logColumn), "Inactive");

        // Several selected rows follow the box clicked. Logs that cannot be
        // written leave their rows without one, told in one message.
        select({"bravo.iso", "Charlie.mkv", "echo.zip"});
        for (int n : {2, 5})
            profile_->dir.mkdir("PLN/PLN logs/" + hashOf(n) + ".pln_on");
        clickCheckBox("Charlie.mkv");
        QVERIFY(logExists(3, ".pln_on"));
        for (const char* name : {"Charlie.mkv", "echo.zip"}) {
            QVERIFY(!ticked(name));
            QCOMPARE(cell(rowOf(name), logColumn), "None");
        }
        QCOMPARE(QtPrompter::shownBoxes().size(), 1u);
        QVERIFY(QtPrompter::shownBoxes()[0].text.contains(QString::fromStdString(hashOf(2))));
        QVERIFY(QtPrompter::shownBoxes()[0].text.contains(QString::fromStdString(hashOf(5))));
        QtPrompter::clearShownBoxes();
        for (int n : {2, 5})
            std::filesystem::remove(profile_->dir.file("PLN/PLN logs/" + hashOf(n) + ".pln_on"));
        clickCheckBox("Charlie.mkv");
        for (int n : {2, 3, 5})
            QVERIFY(logExists(n, ".pln_on"));
        QVERIFY(!logExists(3, ".pln_off"));
        setTick("echo.zip", false);
        for (int n : {2, 3, 5})
            QVERIFY(logExists(n, ".pln_off"));
        QVERIFY(QtPrompter::shownBoxes().empty());
    }

    // Space selects the focused row, then ticks it; Alt+Space and the
    // modifier keys are the window's.
    void keysReachTheWindowFirst() {
        const int alpha = rowOf("alpha.mp3");
        view().setFocus();
        view().setCurrentIndex(model().index(alpha, 0));
        view().selectionModel()->clearSelection();
        QVERIFY(idle());
        QTest::keyClick(&view(), Qt::Key_Space, Qt::AltModifier);
        QVERIFY(!view().selectionModel()->isRowSelected(alpha, {}));
        QTest::keyClick(&view(), Qt::Key_Space);
        QVERIFY(view().selectionModel()->isRowSelected(alpha, {}));
        QVERIFY(!logExists(4, ".pln_on") && idle());

        int redraws = 0, readouts = 0;
        connect(idleWork(), &tIdleWork::redrawDue, this, [&] { ++redraws; });
        connect(idleWork(), &tIdleWork::readoutDue, this, [&] { ++readouts; });
        select({"alpha.mp3", "bravo.iso"});
        QCOMPARE(redraws, 1);
        // The drawing asked for a read-out of its own.
        const int drawnReadouts = readouts;
        QTest::keyPress(&view(), Qt::Key_Shift, Qt::ShiftModifier);
        QVERIFY(idle());
        QCOMPARE(readouts, drawnReadouts + 1);
        QTest::keyRelease(&view(), Qt::Key_Shift, Qt::NoModifier);
        QVERIFY(idle());
        QCOMPARE(readouts, drawnReadouts + 2);
        QTest::keyClick(&view(), Qt::Key_Space);
        QVERIFY(logExists(4, ".pln_on") && ticked("alpha.mp3"));

        // The menu key opens the pop-up menu at the selected row.
        QCOMPARE(view().keyboardMenuPoint(), view().visualRect(model().index(alpha, 0)).center());
        view().selectionModel()->clearSelection();
        QCOMPARE(view().keyboardMenuPoint(), QPoint(0, 0));
    }

    void ctrlUntickDeletesAfterConfirmation() {
        setTick("bravo.iso", true);
        select({"delta.avi", "bravo.iso"});
        QVERIFY(actions().aKFDelLog->isEnabled());

        QtPrompter::setNextAnswer(false);
        withCtrl([&] { setTick("bravo.iso", false); });
        QCOMPARE(QtPrompter::shownBoxes().size(), 1u);
        QCOMPARE(QtPrompter::shownBoxes()[0].text,
                 "Do you really want to delete the log file(s) of the selected item(s)?");
        QCOMPARE(QtPrompter::shownBoxes()[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(QtPrompter::shownBoxes()[0].details,
                 QString::fromStdString("delta.avi (" + hashOf(1) + ".pln_on)\nbravo.iso (" +
                                        hashOf(3) + ".pln_on)\n"));
        QVERIFY(logExists(1, ".pln_on") && logExists(3, ".pln_on") && ticked("bravo.iso"));

        // The special events of a file whose log goes leave events.log,
        // whatever the case of their hash.
        const std::string kept = "1/2/2026=Kept\r\n1/3/2026=Other|" + hashOf(2) + "\r\n";
        const std::string events = profile_->dir.write(
            "PLN/events.log", kept + "1/4/2026=Gone|" + toLowerAscii(hashOf(1)) + "\r\n");
        QtPrompter::setNextAnswer(true);
        withCtrl([&] { setTick("bravo.iso", false); });
        QCOMPARE(readText(events), kept);
        QVERIFY(!logExists(1, ".pln_on") && !logExists(3, ".pln_on") && !ticked("bravo.iso"));
        QCOMPARE(cell(rowOf("delta.avi"), logColumn), "None");
        QTRY_VERIFY(!actions().aKFDelLog->isEnabled());

        setTick("alpha.mp3", true);
        QtPrompter::clearShownBoxes();
        QtPrompter::setNextAnswer(true);
        withCtrl([&] { setTick("alpha.mp3", false); });
        QCOMPARE(QtPrompter::shownBoxes().back().text,
                 "Do you really want to delete the log file of this item?");
        QVERIFY(!logExists(4, ".pln_on"));
    }

    void referenceFilesAreMarkedAndShownInTheTags() {
        const tMainActions& a = actions();
        // The tags box shows the selected records, numbers in the user's form.
        select({"alpha.mp3", "Charlie.mkv"});
        QString tags = tagsText();
        QVERIFY(tags.contains("STRING    Charlie.mkv") &&
                tags.contains("UINT32    " + QLocale::system().toString(20)));
        select({"alpha.mp3"});
        QTRY_VERIFY(!a.aRefKF1->isEnabled());
        // The graphs give a drawn file its colour, a line across its name.
        drawIn("alpha.mp3", 0x0000FF); // red, as 0x00BBGGRR
        const auto redAcross = [&] {
            const QImage image = view().viewport()->grab().toImage();
            const QRect caption = view().visualRect(model().index(rowOf("alpha.mp3"), 0));
            int red = 0;
            for (int x = caption.left(); x < caption.right(); ++x)
                for (int y = caption.top(); y <= caption.bottom(); ++y)
                    red += image.pixelColor(x, y) == QColor(255, 0, 0) ? 1 : 0;
            return red;
        };
        const int selectedLine = redAcross();
        QVERIFY(selectedLine >= 8);
        QTRY_VERIFY(a.aRefKF1->isEnabled());
        a.aRefKF1->trigger();
        QVERIFY(a.aRefKF1->isChecked());
        QVERIFY(model().index(rowOf("alpha.mp3"), 0).data(listRole::reference).toBool());
        QTRY_VERIFY(a.aResetRef->isEnabled());
        // A reference file has the thicker line, selected or not.
        view().selectionModel()->clearSelection();
        QVERIFY(idle());
        drawIn("alpha.mp3", 0x0000FF);
        QVERIFY(redAcross() >= 3 * selectedLine - 3);

        select({"delta.avi"});
        drawIn("delta.avi", 0x00FF00);
        QTRY_VERIFY(a.aRefKF2->isEnabled());
        a.aRefKF2->trigger();
        tags = tagsText();
        QCOMPARE(tags.count(hashLine), 2);
        QVERIFY(tags.contains(QString(200, '-')));
        QVERIFY(tags.indexOf(QString::fromStdString(hashOf(4))) <
                tags.indexOf(QString::fromStdString(hashOf(1))));

        // One file cannot be both references.
        select({"alpha.mp3"});
        drawIn("alpha.mp3", 0x0000FF);
        QTRY_VERIFY(a.aRefKF2->isEnabled());
        a.aRefKF2->trigger();
        QCOMPARE(model().reference1(), nullptr);
        QCOMPARE(model().reference2(), model().recordAt(rowOf("alpha.mp3")));
        QCOMPARE(tagsText().count(hashLine), 1);

        a.aResetRef->trigger();
        QCOMPARE(model().reference2(), nullptr);
        view().selectionModel()->clearSelection();
        QCOMPARE(tagsText(), QString());
    }

    void linkActionsNeedASelectedRowAndExportItInListOrder() {
        const tMainActions& a = actions();
        for (const QStringList& rows :
             {QStringList(), {"Charlie.mkv"}, {"bravo.iso", "echo.zip"}}) {
            selectNamed(view(), rows);
            for (const QAction* action : {a.aKFSaveAsCollection, a.aKFCopyAsCollection,
                                          a.aKFCopyAsHtmlCollection, a.aKFCopyFormat})
                QVERIFY2(action->isEnabled() == !rows.empty(), qPrintable(action->objectName()));
        }

        // The exports take the selected rows in list order. The collection
        // dialog starts in the documents, then where the last file went; a
        // cancelled dialog writes nothing, a failed write says so.
        selectNamed(view(), {"Charlie.mkv", "delta.avi"});
        const QString one = link("delta.avi", 1000, 1);
        const QString two = link("Charlie.mkv", 999, 2);
        a.aKFCopyAsCollection->trigger();
        QCOMPARE(clipboard(), one + "\r\n" + two + "\r\n");
        a.aKFCopyAsHtmlCollection->trigger();
        QCOMPARE(clipboard(), "<a href=" + one + ">delta.avi</a><br>\r\n<a href=" + two +
                                  ">Charlie.mkv</a><br>\r\n");

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
        selectNamed(view(), {"Charlie.mkv"});
        a.aKFCopyAsCollection->trigger();
        QCOMPARE(clipboard(), two);
    }

    // The dialog offers the stored format; OK stores and copies the new one,
    // Cancel changes nothing.
    void userFormatIsStoredAndCopiedAndItsButtonsWritePlaceholders() {
        selectNamed(view(), {"delta.avi", "Charlie.mkv"});
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
            QCOMPARE(clipboard(), "delta.avi\t5\r\nCharlie.mkv\t7\r\n");
            selectNamed(view(), {"delta.avi"});
        }
        QCOMPARE(offered, "<name>\\t<transferred>");
        QCOMPARE(form_->session().settings().get(settingKey::copyFormat), "<name>\\t<transferred>");

        // Every button writes at the caret, over any selected text, a
        // placeholder that the copy replaces by the file's value.
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
        // webservices.dat (none where null), the rows selected, the menu.
        bool popup = false;
        for (const auto& [text, rows, items, enabled] :
             std::initializer_list<std::tuple<const char*, QStringList, QStringList, bool>>{
                 {nullptr, {"Charlie.mkv"}, none, false},
                 {"Size #filesize\r\nHash #hashid\r\n", {"Charlie.mkv"}, none, false},
                 {"# services\r\n  # Indented,http://c/?q=#hashid\r\n\r\n"
                  "eMule home,http://www.emule-project.net/\r\n  By name ,  http://s/?q=#name\r\n"
                  "By hash,https://h/#HashID\r\nNo comma #filesize\r\n"
                  "Local,/usr/bin/run #hashid\r\n",
                  {"delta.avi", "Charlie.mkv"},
                  services,
                  false},
                 {nullptr, {"Charlie.mkv"}, services, true}}) {
            if (text)
                profile_->dir.write("eMule/config/webservices.dat", text);
            selectNamed(view(), rows);
            emit(popup ? a.knownFilesPopup : a.knownFilesMenu)->aboutToShow();
            QMenu* menu = popup ? a.webServicesPopup : a.webServicesMenu;
            popup = !popup;
            QCOMPARE(menuTexts(menu), items);
            for (const QAction* item : menu->actions())
                QCOMPARE(item->isEnabled(), enabled);
        }
        for (QAction* item : a.webServicesPopup->actions())
            item->trigger();
        const QString hash = QString::fromStdString(hashOf(2));
        QCOMPARE(opened_, QList<QUrl>({QUrl("http://s/?q=Charlie"), QUrl("https://h/" + hash)}));
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

QTEST_MAIN(pln::test::KnownFilesListTest)
#include "known_files_list_test.moc"
