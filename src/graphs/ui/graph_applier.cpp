#include "graphs/ui/graph_applier.h"

#include "graphs/ui/graph_chart.h"
#include "graphs/ui/legend_box.h"
#include "graphs/ui/qt_colour.h"

#include <QTextEdit>

namespace pln {

namespace {

bool drawsNothing(const tGraphResult& result) {
    for (const std::vector<tGraphSeries>& chart : result.series)
        for (const tGraphSeries& one : chart)
            if (!one.points.empty())
                return false;
    return true;
}

void fillChart(const std::vector<tGraphSeries>& series, const tGraphResult& result,
               tGraphChart& chart) {
    std::vector<int> refilled;
    for (const tGraphSeries& one : series)
        if (one.index > 0 && !one.points.empty())
            refilled.push_back(one.index);
    chart.clear(result.runtimeAxis, refilled);
    // An empty drawing has no range of its own: the axes show none.
    chart.setEmpty(drawsNothing(result));
    if (!chart.isEmpty())
        chart.setBottomRange(result.bottomMin, result.bottomMax);
    for (const tGraphSeries& one : series) {
        chart.setSeriesColour(one.index, toQColor(one.colour));
        if (one.index == 0) {
            std::vector<double> events;
            events.reserve(one.points.size());
            for (const tGraphPoint& point : one.points)
                events.push_back(point.x);
            chart.setEvents(events);
            continue;
        }
        if (one.points.empty())
            continue;
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(one.points.size()));
        for (const tGraphPoint& point : one.points)
            points.append({point.x, point.y});
        chart.setPoints(one.index, std::move(points));
    }
    chart.fitValueAxis();
}

} // namespace

void applyGraphResult(const tGraphResult& result, tGraphCharts& charts) {
    charts.requestsLegend.clear();
    charts.transfersLegend.clear();
    fillChart(result.series[static_cast<std::size_t>(tChartId::requests)], result, charts.requests);
    fillChart(result.series[static_cast<std::size_t>(tChartId::transferred)], result,
              charts.transferred);
    charts.transferred.setBottomTitle(QString::fromStdString(result.bottomAxisTitle));
    appendLegend(charts.requestsLegend, result.requestsLegend);
    appendLegend(charts.transfersLegend, result.transfersLegend);
}

} // namespace pln
