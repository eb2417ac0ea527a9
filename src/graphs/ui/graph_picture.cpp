#include "graphs/ui/graph_picture.h"

#include "common/error.h"
#include "common/file_io.h"
#include "graphs/ui/chart_view.h"
#include "graphs/ui/graph_chart.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgGenerator>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace pln {

namespace {

constexpr int legendGap = 8;

using tChartWithLegend = std::pair<tGraphChart*, QTextEdit*>;

std::array<tChartWithLegend, 2> rows(tGraphCharts& charts) {
    return {tChartWithLegend{&charts.requests, &charts.requestsLegend},
            tChartWithLegend{&charts.transferred, &charts.transfersLegend}};
}

// The legends are laid out at the width their longest line needs, so that
// a hidden or narrowed legend box still shows whole lines.
int legendWidth(tGraphCharts& charts) {
    double widest = 0;
    for (auto [chart, legend] : rows(charts))
        if (!legend->document()->isEmpty())
            widest = std::max(widest, legend->document()->idealWidth());
    return widest > 0 ? static_cast<int>(std::ceil(widest)) + legendGap : 0;
}

void paintGraphs(QPainter& painter, tGraphCharts& charts, QSize shown) {
    painter.fillRect(QRect(QPoint(), shown), Qt::white);
    const int legend = legendWidth(charts);
    int top = 0;
    for (auto [chart, box] : rows(charts)) {
        tChartView& view = chart->view();
        view.render(&painter, QRectF(0, top, view.width(), view.height()), view.viewport()->rect());
        if (legend > 0) {
            painter.save();
            painter.translate(shown.width() - legend + legendGap, top);
            box->document()->drawContents(&painter, QRectF(0, 0, legend, view.height()));
            painter.restore();
        }
        top += view.height();
    }
}

// A refusal of the file or its writer is an I/O failure; a picture that
// cannot be made is not.
[[noreturn]] void fail(const QString& fileName, const QString& reason,
                       ErrorKind kind = ErrorKind::io) {
    throw Error(fileFailure("save", fileName.toStdString(), reason.toStdString()), kind);
}

// The whole file is written beside the old one and renamed over it, links
// written through; a short write is a failure, which Qt's own save file
// can report as a success on a full disk.
void writeWhole(const QString& fileName, const QByteArray& bytes) {
    writeNamedFile(fileName.toStdString(),
                   {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                    static_cast<std::size_t>(bytes.size())},
                   "save");
}

} // namespace

QSize graphPictureSize(tGraphCharts& charts) {
    int width = 0, height = 0;
    for (auto [chart, legend] : rows(charts)) {
        width = std::max(width, chart->view().width());
        height += chart->view().height();
    }
    return {width + legendWidth(charts), height};
}

void saveGraphPicture(tGraphCharts& charts, const QString& fileName, int width) {
    const QSize shown = graphPictureSize(charts);
    if (shown.isEmpty())
        fail(fileName, QStringLiteral("the graphs are not shown"), ErrorKind::general);
    if (width != 0 && (width < minPictureWidth || width > maxPictureWidth))
        fail(fileName,
             QStringLiteral("the width must be from %1 to %2 pixels")
                 .arg(minPictureWidth)
                 .arg(maxPictureWidth),
             ErrorKind::general);
    const double scale = width == 0 ? 1.0 : static_cast<double>(width) / shown.width();
    const QSize size(static_cast<int>(std::lround(shown.width() * scale)),
                     std::max(1, static_cast<int>(std::lround(shown.height() * scale))));
    QByteArray bytes;
    QBuffer file(&bytes);
    file.open(QIODevice::WriteOnly);
    if (fileName.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(), size));
        svg.setTitle(QStringLiteral("PLN graphs"));
        QPainter painter(&svg);
        painter.scale(scale, scale);
        paintGraphs(painter, charts, shown);
    } else {
        QImage image(size, QImage::Format_RGB32);
        if (image.isNull())
            fail(fileName, QStringLiteral("not enough memory for the picture"), ErrorKind::general);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.scale(scale, scale);
            paintGraphs(painter, charts, shown);
        }
        QImageWriter writer(&file, "png");
        if (!writer.write(image))
            fail(fileName, writer.errorString());
    }
    writeWhole(fileName, bytes);
}

void saveTextFile(const QString& fileName, const std::string& text) {
    writeWhole(fileName, QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size())));
}

} // namespace pln
