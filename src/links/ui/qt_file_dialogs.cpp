#include "links/ui/qt_file_dialogs.h"

#include <QRegularExpression>
#include <utility>

namespace pln {

namespace {

std::optional<QString> nextFileName;
std::optional<QtFileDialogs::Shown> shown;

// The test's answer where one is set, else the user's.
QString run(QFileDialog& dialog, const QString& start) {
    if (nextFileName) {
        shown = QtFileDialogs::Shown{dialog.windowTitle(),
                                     dialog.acceptMode(),
                                     dialog.nameFilters(),
                                     dialog.defaultSuffix(),
                                     !dialog.testOption(QFileDialog::DontConfirmOverwrite),
                                     start};
        return *std::exchange(nextFileName, std::nullopt);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtFileDialogs::getSaveFileName(QWidget* parent, const QString& caption,
                                       const QStringList& nameFilters, const QString& defaultSuffix,
                                       const QString& startFile) {
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters);
    dialog.setDefaultSuffix(defaultSuffix);
    // A name typed without a suffix takes that of the type chosen last.
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            static const QRegularExpression oneSuffix(QStringLiteral(R"(\(\*\.(\w+)\)$)"));
            const QRegularExpressionMatch match = oneSuffix.match(filter);
            if (match.hasMatch())
                dialog.setDefaultSuffix(match.captured(1));
        });
    if (!startFile.isEmpty())
        dialog.selectFile(startFile);
    return run(dialog, startFile);
}

QString QtFileDialogs::getOpenFileName(QWidget* parent, const QString& caption,
                                       const QStringList& nameFilters, const QString& defaultSuffix,
                                       const QString& startFolder) {
    QFileDialog dialog(parent, caption, startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters);
    dialog.setDefaultSuffix(defaultSuffix);
    return run(dialog, startFolder);
}

void QtFileDialogs::setNextFileName(const QString& fileName) {
    nextFileName = fileName;
}

const std::optional<QtFileDialogs::Shown>& QtFileDialogs::lastShown() {
    return shown;
}

} // namespace pln
