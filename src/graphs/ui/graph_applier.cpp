#include "graphs/ui/graph_applier.h"

#include "graphs/ui/graph_chart.h"
#include "graphs/ui/legend_box.h"
#include "graphs/ui/qt_colour.h"

#include <QTextEdit>
#include <algorithm>

namespace pln {

namespace {

bool drawsNothing(const tGraphResult& result) {
    for (const std::vector<tGraphSeries>& chart : result.series)
        for (const tGraphSeries& one : chart)
            if (!one.points.empty())
                return false;
    return true;
}

void startDrawing(const std::vector<tGraphSeries>& series, const tGraphResult& result,
                  tGraphChart& chart) {
    tDrawingAxes axes{result.runtimeAxis, std::nullopt, 0};
    if (!drawsNothing(result))
        axes.bottom = tAxisRange{result.bottomMin, result.bottomMax};
    std::vector<int> refilled;
    for (const tGraphSeries& one : series)
        if (one.index > 0 && !one.points.empty()) {
            refilled.push_back(one.index);
            for (const tGraphPoint& point : one.points)
                axes.top = std::max(axes.top, point.y);
        }
    chart.startDrawing(axes, refilled);
}

void fillChart(const std::vector<tGraphSeries>& series, tGraphChart& chart) {
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
}

// Left to the event loop, a chart is painted again after each step of its
// layout (labels, ticks, the other chart's alignment), and each step lays
// out its lines again: the layouts are settled first, and the lines, put in
// after, are laid out once.
void settleLayouts(tGraphCharts& charts) {
    constexpr int maxRounds = 8;
    for (int round = 0; round < maxRounds; ++round) {
        const bool upper = charts.requests.layOut();
        const bool lower = charts.transferred.layOut();
        if (!upper && !lower)
            return;
    }
}

} // namespace

void applyGraphResult(const tGraphResult& result, tGraphCharts& charts) {
    const auto& upper = result.series[static_cast<std::size_t>(tChartId::requests)];
    const auto& lower = result.series[static_cast<std::size_t>(tChartId::transferred)];
    charts.requestsLegend.clear();
    charts.transfersLegend.clear();
    startDrawing(upper, result, charts.requests);
    startDrawing(lower, result, charts.transferred);
    charts.transferred.setBottomTitle(QString::fromStdString(result.bottomAxisTitle));
    settleLayouts(charts);
    fillChart(upper, charts.requests);
    fillChart(lower, charts.transferred);
    appendLegend(charts.requestsLegend, result.requestsLegend);
    appendLegend(charts.transfersLegend, result.transfersLegend);
}

} // namespace pln
