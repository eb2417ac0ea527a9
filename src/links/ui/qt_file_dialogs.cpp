#include "links/ui/qt_file_dialogs.h"

#include <utility>

namespace pln {

namespace {

std::optional<QString> nextFileName;
std::optional<QtFileDialogs::Shown> shown;

} // namespace

QString QtFileDialogs::getSaveFileName(QWidget* parent, const QString& caption,
                                       const QStringList& nameFilters, const QString& defaultSuffix,
                                       const QString& startFile) {
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!startFile.isEmpty())
        dialog.selectFile(startFile);
    if (nextFileName) {
        shown = Shown{dialog.windowTitle(),
                      dialog.acceptMode(),
                      dialog.nameFilters(),
                      dialog.defaultSuffix(),
                      !dialog.testOption(QFileDialog::DontConfirmOverwrite),
                      startFile};
        return *std::exchange(nextFileName, std::nullopt);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void QtFileDialogs::setNextFileName(const QString& fileName) {
    nextFileName = fileName;
}

const std::optional<QtFileDialogs::Shown>& QtFileDialogs::lastShown() {
    return shown;
}

} // namespace pln
