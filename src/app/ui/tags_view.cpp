#include "app/ui/tags_view.h"

#include "app/core/tags_text.h"
#include "app/ui/known_files_list.h"

#include <QLocale>
#include <QPlainTextEdit>

namespace pln {

namespace {

tNumberFormat userNumbers() {
    return {[](std::uint64_t n) {
                return QLocale::system().toString(static_cast<qulonglong>(n)).toStdString();
            },
            [](double d) {
                QLocale locale = QLocale::system();
                locale.setNumberOptions(QLocale::OmitGroupSeparator);
                return locale.toString(d, 'g', 15).toStdString();
            }};
}

} // namespace

void showTags(QPlainTextEdit& box, tKnownFilesList& knownFiles) {
    const tKnownFilesModel& model = knownFiles.model();
    const std::string text =
        tagsText(tagRecords(model.reference1(), model.reference2(), knownFiles.selectedRecords()),
                 userNumbers());
    box.setPlainText(
        QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

} // namespace pln
