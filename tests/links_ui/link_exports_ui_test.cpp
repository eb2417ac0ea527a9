#include "links/core/links_collection.h"
#include "links/ui/copy_format_form.h"
#include "links/ui/link_actions.h"
#include "links/ui/qt_file_dialogs.h"
#include "platform/fake_settings_store.h"
#include "support/recording_prompter.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

using namespace pln;

namespace {

const char* const hashA = "0123456789ABCDEF0123456789ABCDEF";
const char* const hashB = "FEDCBA9876543210FEDCBA9876543210";
const QString linkA = "ed2k://|file|a%20b%26c.txt|1234|0123456789ABCDEF0123456789ABCDEF|/";
const QString linkB = "ed2k://|file|caf%C3%A9.mp3|7|FEDCBA9876543210FEDCBA9876543210|h=AICH|/";

// Answers the copy-format dialog once it is shown: the new format and OK,
// or Cancel when format is empty. The format it offered goes to shownWith.
void answerFormatDialog(const QString& format, std::vector<std::string>& shownWith) {
    QTimer::singleShot(0, [format, &shownWith] {
        auto* form = qobject_cast<tCopyFormatForm*>(QApplication::activeModalWidget());
        QVERIFY(form);
        shownWith.push_back(form->findChild<QLineEdit*>("formatBox")->text().toStdString());
        if (format.isEmpty()) {
            form->findChild<QPushButton*>("cancelButton")->click();
            return;
        }
        form->findChild<QLineEdit*>("formatBox")->setText(format);
        form->findChild<QPushButton*>("okButton")->click();
    });
}

} // namespace

class LinkExportsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<tKnownMetRecord> a_ =
        tKnownMetRecord::createFromValues("a b&c.txt", hashA, 0, 3, 2, 1234, "");
    std::unique_ptr<tKnownMetRecord> b_ =
        tKnownMetRecord::createFromValues("caf\xC3\xA9.mp3", hashB, 0, 0, 0, 7, "AICH");
    std::vector<tLinkRow> two_{{a_.get(), "D:\\new"}, {b_.get(), ""}};
    std::vector<tLinkRow> one_{{a_.get(), "D:\\new"}};

    static QString clipboard() { return QGuiApplication::clipboard()->text(); }

private slots:
    // Every button writes at the caret, over any selected text, a
    // placeholder that the copy replaces by the file's value.
    void speedButtonsWritePlaceholdersTheCopyKnows() {
        tCopyFormatForm form;
        QVERIFY(form.findChild<QPushButton*>("okButton")->isDefault());
        auto* box = form.findChild<QLineEdit*>("formatBox");
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
            const std::vector<std::string> copied =
                getLinksCollection(inserted.toStdString(), one_);
            QVERIFY2(copied.size() == 1 && copied[0] != inserted.toStdString(),
                     qPrintable(inserted));
        }
    }

    // The dialog starts with the stored format; Ok stores and copies the
    // new one, Cancel changes nothing.
    void userFormatIsStoredAndCopied() {
        FakeSettingsStore setting;
        std::string& stored = setting.values["copyFormat"] = "<hash>";
        std::vector<std::string> shownWith;
        answerFormatDialog("<folder>|<requested>", shownWith);
        copyFormattedLinksToClipboard(nullptr, two_, setting);
        QCOMPARE(clipboard(), "D:\\new|3\r\n|0\r\n");
        answerFormatDialog("", shownWith);
        copyFormattedLinksToClipboard(nullptr, one_, setting);
        QCOMPARE(stored, "<folder>|<requested>");
        QCOMPARE(clipboard(), "D:\\new|3\r\n|0\r\n");
        QCOMPARE(shownWith, (std::vector<std::string>{"<hash>", "<folder>|<requested>"}));
    }

    void collectionFileHoldsTheLinks() {
        test::TempDir dir;
        test::RecordingPrompter prompter;
        QString folder;
        QtFileDialogs::setNextFileName(QString::fromStdString(dir.file("two.emulecollection")));
        saveLinksAsCollection(nullptr, two_, prompter, folder);
        QCOMPARE(test::readText(dir.file("two.emulecollection")),
                 (linkA + "\r\n" + linkB + "\r\n").toStdString());
        const auto& shown = QtFileDialogs::lastShown();
        QVERIFY(shown);
        QCOMPARE(shown->acceptMode, QFileDialog::AcceptSave);
        QCOMPARE(shown->defaultSuffix, "emulecollection");
        QCOMPARE(shown->nameFilters,
                 QStringList({"Collections (*.emulecollection)", "Any file (*)"}));
        QVERIFY(shown->confirmOverwrite);
        // First in the documents, then where the last one went.
        QCOMPARE(QFileInfo(shown->startFile).absolutePath(),
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        QCOMPARE(QFileInfo(shown->startFile).fileName(), "links.emulecollection");
        QCOMPARE(folder + "/", QString::fromStdString(dir.path()));

        QtFileDialogs::setNextFileName(QString::fromStdString(dir.file("two.emulecollection")));
        saveLinksAsCollection(nullptr, {}, prompter, folder);
        QCOMPARE(QtFileDialogs::lastShown()->startFile,
                 QString::fromStdString(dir.file("links.emulecollection")));
        QCOMPARE(test::readText(dir.file("two.emulecollection")), "");

        QtFileDialogs::setNextFileName("");
        saveLinksAsCollection(nullptr, two_, prompter, folder);
        QCOMPARE(test::readText(dir.file("two.emulecollection")), "");
        QVERIFY(prompter.shown.empty());

        std::string missing = dir.file("no/such/folder.emulecollection");
        QtFileDialogs::setNextFileName(QString::fromStdString(missing));
        saveLinksAsCollection(nullptr, two_, prompter, folder);
        QCOMPARE(prompter.errors(), std::vector<std::string>{"Cannot save \"" + missing +
                                                             "\": No such file or directory"});
    }
};

QTEST_MAIN(LinkExportsTest)
#include "link_exports_ui_test.moc"
