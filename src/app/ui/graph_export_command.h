#pragma once

#include "graphs/core/graph_data.h"
#include "graphs/ui/graph_applier.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QWidget;

namespace pln {

class Prompter;

// The charts' exports of the drawing shown: a picture of both charts with
// their legends (PNG or SVG, at the shown size or a chosen width), and the
// drawing's series and axis as the CSV that pln-tool writes for the same
// choice. Each file dialog starts in the folder used last in this session.
class tGraphExportCommand : public QObject {
    Q_OBJECT

public:
    struct tContext {
        QWidget& window;
        tGraphCharts charts;
        // The drawing the charts show.
        std::function<const tGraphResult&()> drawing;
        Prompter& prompter;
    };

    tGraphExportCommand(tContext context, QAction& saveImage, QAction& saveData);

private:
    void saveImage();
    void saveData();
    // Empty when the user cancels.
    QString askFileName(const QString& caption, const QStringList& filters, const QString& suffix,
                        const QString& name);

    tContext context_;
    QString folder_;
};

} // namespace pln
