#include "links/ui/link_actions.h"

#include "common/error.h"
#include "common/file_io.h"
#include "common/setting_keys.h"
#include "links/core/link_exports.h"
#include "links/ui/copy_format_form.h"
#include "links/ui/qt_file_dialogs.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>

namespace pln {

namespace {

void setClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

} // namespace

void saveLinksAsCollection(QWidget* parent, std::span<const tLinkRow> rows, Prompter& prompter,
                           QString& lastFolder) {
    const QString folder = lastFolder.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                               : lastFolder;
    const QString name = rows.size() == 1 && rows.front().record
                             ? QString::fromStdString(rows.front().record->getFileName())
                             : QStringLiteral("links");
    QString fileName = QtFileDialogs::getSaveFileName(
        parent, "Save link(s) as eMuleCollection",
        {"Collections (*.emulecollection)", "Any file (*)"}, "emulecollection",
        QDir(folder).filePath(name + QStringLiteral(".emulecollection")));
    if (fileName.isEmpty())
        return;
    lastFolder = QFileInfo(fileName).absolutePath();
    std::string text = collectionFileText(getLinksCollection("", rows));
    std::string path = QFile::encodeName(fileName).toStdString();
    try {
        replaceFileContents(path,
                            {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    } catch (const Error& e) {
        prompter.showError(format("Cannot save \"%s\": %s", {path, e.what()}));
    }
}

void copyLinksToClipboard(std::span<const tLinkRow> rows) {
    setClipboardText(clipboardText(getLinksCollection("", rows)));
}

void copyHtmlLinksToClipboard(std::span<const tLinkRow> rows) {
    setClipboardText(htmlClipboardText(getLinksCollection(htmlLinkFormat, rows)));
}

void copyFormattedLinksToClipboard(QWidget* parent, std::span<const tLinkRow> rows,
                                   tSettingsStore& settings) {
    std::optional<std::string> format =
        tCopyFormatForm::execute(parent, settings.get(settingKey::copyFormat));
    if (!format)
        return;
    settings.set(settingKey::copyFormat, *format);
    setClipboardText(clipboardText(getLinksCollection(*format, rows)));
}

} // namespace pln
