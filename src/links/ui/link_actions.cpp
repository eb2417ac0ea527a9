#include "links/ui/link_actions.h"

#include "common/error.h"
#include "common/file_io.h"
#include "links/core/link_exports.h"
#include "links/ui/copy_format_form.h"
#include "links/ui/qt_file_dialogs.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>

namespace pln {

namespace {

void setClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

} // namespace

void saveLinksAsCollection(QWidget* parent, std::span<const tLinkRow> rows, Prompter& prompter) {
    QString fileName = QtFileDialogs::getSaveFileName(
        parent, "Save link(s) as eMuleCollection",
        {"Collections (*.emulecollection)", "Any file (*)"}, "emulecollection");
    if (fileName.isEmpty())
        return;
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
                                   const tCopyFormatSetting& setting) {
    std::optional<std::string> format = tCopyFormatForm::execute(parent, setting.load());
    if (!format)
        return;
    setting.store(*format);
    setClipboardText(clipboardText(getLinksCollection(*format, rows)));
}

} // namespace pln
