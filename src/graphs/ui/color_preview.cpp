#include "graphs/ui/color_preview.h"

#include "graphs/ui/qt_colour.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>
#include <array>
#include <memory>

namespace pln {

namespace {

// Sample hourly rates: a requested curve, the accepted part of it, and an
// upload rate, with two events.
constexpr std::array<double, 12> sampleRequested = {4, 6, 9, 8, 12, 15, 11, 9, 13, 17, 14, 10};
constexpr std::array<double, 12> sampleAccepted = {2, 3, 5, 4, 7, 9, 6, 5, 8, 10, 8, 6};
constexpr std::array<double, 12> sampleTransferred = {3, 5, 4, 7, 9, 8, 12, 10, 9, 13, 11, 12};
constexpr std::array<double, 12> sampleEvents = {0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0};

QChart& prepare(QChartView& view, QColor background) {
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setBackgroundBrush(background);
    chart->setMargins(QMargins(2, 2, 2, 2));
    // The view gives up the chart it was built with without deleting it.
    std::unique_ptr<QChart> builtWith(view.chart());
    view.setChart(chart);
    view.setRenderHint(QPainter::Antialiasing);
    return *chart;
}

// The events as full-height bars on their own hidden axes, like the charts
// of the main window.
QBarSet* addEvents(QChart& chart) {
    auto* set = new QBarSet(QStringLiteral("Events"));
    for (double value : sampleEvents)
        set->append(value);
    set->setBorderColor(Qt::transparent);
    auto* series = new QBarSeries;
    series->append(set);
    series->setBarWidth(0.15);
    chart.addSeries(series);
    auto* x = new QBarCategoryAxis;
    auto* y = new QValueAxis;
    y->setRange(0, 1);
    for (QAbstractAxis* axis : std::initializer_list<QAbstractAxis*>{x, y}) {
        chart.addAxis(axis, axis == x ? Qt::AlignTop : Qt::AlignRight);
        series->attachAxis(axis);
        axis->hide();
    }
    return set;
}

QLineSeries* addLine(QChart& chart, const QString& title, const std::array<double, 12>& values,
                     QValueAxis& x, QValueAxis& y) {
    auto* series = new QLineSeries;
    series->setName(title);
    for (std::size_t i = 0; i < values.size(); ++i)
        series->append(static_cast<double>(i), values[i]);
    chart.addSeries(series);
    series->attachAxis(&x);
    series->attachAxis(&y);
    return series;
}

std::pair<QValueAxis*, QValueAxis*> lineAxes(QChart& chart) {
    auto* x = new QValueAxis;
    auto* y = new QValueAxis;
    x->setRange(-0.5, 11.5);
    y->setRange(0, 18);
    chart.addAxis(x, Qt::AlignBottom);
    chart.addAxis(y, Qt::AlignLeft);
    x->setLabelsVisible(false);
    y->setLabelsVisible(false);
    return {x, y};
}

void paint(QLineSeries& series, QColor colour) {
    QPen pen(colour);
    pen.setWidth(2);
    series.setPen(pen);
}

} // namespace

tColorPreview::tColorPreview(QChartView& reqChart, QChartView& transChart, QColor background)
    : background_(background) {
    QChart& requests = prepare(reqChart, background);
    reqEvents_ = addEvents(requests);
    const auto [reqX, reqY] = lineAxes(requests);
    requested_ = addLine(requests, QStringLiteral("Requested 1"), sampleRequested, *reqX, *reqY);
    accepted_ = addLine(requests, QStringLiteral("Accepted 1"), sampleAccepted, *reqX, *reqY);

    QChart& transfers = prepare(transChart, background);
    transEvents_ = addEvents(transfers);
    const auto [transX, transY] = lineAxes(transfers);
    transferred_ =
        addLine(transfers, QStringLiteral("Transferred"), sampleTransferred, *transX, *transY);
    show(std::nullopt, 0, designDeltaLum);
}

void tColorPreview::show(std::optional<std::size_t> slot, tColour colour, double offset) {
    reqEvents_->setColor(background_);
    transEvents_->setColor(background_);
    for (QLineSeries* series : {requested_, accepted_, transferred_})
        paint(*series, background_);
    if (!slot)
        return;
    if (*slot == eventsSlot) {
        reqEvents_->setColor(toQColor(colour));
        transEvents_->setColor(toQColor(colour));
        return;
    }
    paint(*transferred_, toQColor(colour));
    if (*slot < firstStatisticsSlot) {
        const tShades shades = deriveShades(colour, offset);
        paint(*requested_, toQColor(shades.darker));
        paint(*accepted_, toQColor(shades.lighter));
    }
}

} // namespace pln
