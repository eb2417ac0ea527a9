#include "app/ui/graph_export_command.h"

#include "common/error.h"
#include "common/prompter.h"
#include "graphs/core/graph_csv.h"
#include "graphs/ui/graph_picture.h"
#include "links/ui/qt_file_dialogs.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QStandardPaths>
#include <algorithm>

namespace pln {

tGraphExportCommand::tGraphExportCommand(tContext context, QAction& saveImage, QAction& saveData)
    : QObject(&context.window), context_(std::move(context)) {
    saveImage.setEnabled(true);
    saveData.setEnabled(true);
    connect(&saveImage, &QAction::triggered, this, &tGraphExportCommand::saveImage);
    connect(&saveData, &QAction::triggered, this, &tGraphExportCommand::saveData);
}

QString tGraphExportCommand::askFileName(const QString& caption, const QStringList& filters,
                                         const QString& suffix, const QString& name) {
    if (folder_.isEmpty())
        folder_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString chosen = QtFileDialogs::getSaveFileName(&context_.window, caption, filters, suffix,
                                                    QDir(folder_).filePath(name));
    if (!chosen.isEmpty())
        folder_ = QFileInfo(chosen).absolutePath();
    return chosen;
}

void tGraphExportCommand::saveImage() {
    const QString caption = QStringLiteral("Save graphs as image");
    const QString fileName = askFileName(
        caption, {QStringLiteral("PNG image (*.png)"), QStringLiteral("SVG image (*.svg)")},
        QStringLiteral("png"), QStringLiteral("PLN graphs.png"));
    if (fileName.isEmpty())
        return;
    const int shown = graphPictureSize(context_.charts).width();
    bool ok = false;
    const int width = QInputDialog::getInt(&context_.window, caption,
                                           QStringLiteral("Width of the picture in pixels:"),
                                           std::clamp(shown, minPictureWidth, maxPictureWidth),
                                           minPictureWidth, maxPictureWidth, 10, &ok);
    if (!ok)
        return;
    try {
        saveGraphPicture(context_.charts, fileName, width == shown ? 0 : width);
    } catch (const Error& error) {
        context_.prompter.showError(error.what());
    }
}

void tGraphExportCommand::saveData() {
    const QString fileName =
        askFileName(QStringLiteral("Save graph data as CSV"),
                    {QStringLiteral("CSV files (*.csv)"), QStringLiteral("Any file (*)")},
                    QStringLiteral("csv"), QStringLiteral("PLN graphs.csv"));
    if (fileName.isEmpty())
        return;
    try {
        saveTextFile(fileName, graphCsv(context_.drawing()));
    } catch (const Error& error) {
        context_.prompter.showError(error.what());
    }
}

} // namespace pln
