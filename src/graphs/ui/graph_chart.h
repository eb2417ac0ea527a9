#pragma once

#include "graphs/core/graph_data.h"
#include "graphs/core/plot_area.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>
#include <optional>
#include <span>
#include <vector>

class QAreaSeries;
class QChart;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;
class QWidget;

namespace pln {

class tChartView;

// The room left and right of a plot area inside its chart, or the widths
// added at those sides.
struct tPlotEdges {
    double left = 0;
    double right = 0;
};

// The axes of a drawing: the kind of bottom axis and its range, none for a
// drawing of nothing, and the largest value drawn.
struct tDrawingAxes {
    bool runtimeAxis = false;
    std::optional<tAxisRange> bottom;
    double top = 0;
};

// One of the two charts in its fixed configuration: white, without the
// built-in legend or mouse zoom, a bottom axis for dates and one for runtime
// days (only one shown at a time), the value axis from 0, the event bars on
// a hidden 0..1 axis at the right, and the series in the order the drawing
// addresses them. Index 0 is the "Events" series; the others are lines.
// Bottom-axis values are runtime days on the runtime axis and days of the
// calendar (1899-12-30 = 0) on the date axis.
class tGraphChart {
public:
    tGraphChart(tChartId kind, QWidget* parent);
    tGraphChart(const tGraphChart&) = delete;
    tGraphChart& operator=(const tGraphChart&) = delete;

    tChartView& view() { return *view_; }
    QChart& chart() { return *chart_; }
    tChartId kind() const { return kind_; }

    int seriesCount() const { return static_cast<int>(lines_.size()) + 1; }
    QString seriesTitle(int index) const;
    QColor seriesColour(int index) const;
    void setSeriesColour(int index, const QColor& colour);
    // The points of line series index (1 and up).
    QList<QPointF> points(int index) const;
    void setPoints(int index, QList<QPointF> points);
    // Full-height bars at the given bottom-axis values.
    void setEvents(const std::vector<double>& positions);
    const std::vector<double>& events() const { return eventPositions_; }

    // Readies the chart for a drawing: the axes are set and every series is
    // emptied but the lines about to be refilled, which may keep their
    // points until they are replaced.
    void startDrawing(const tDrawingAxes& axes, std::span<const int> refilled);
    bool runtimeAxis() const { return onRuntime_; }
    tAxisRange bottomRange() const;
    void setBottomTitle(const QString& title);
    QString bottomTitle() const;
    // A chart with nothing to draw shows neither labels nor grid lines of
    // an earlier drawing; the upper one says how to get a drawing.
    void setEmpty(bool empty);
    bool isEmpty() const { return empty_; }
    // The room beside the plot area as the chart's own labels leave it, and
    // the room added to it so that the plot area lines up with another's.
    tPlotEdges naturalEdges() const;
    void setIndents(tPlotEdges indents);
    bool settling() const { return settling_; }
    // Lays the chart out at once rather than when the event loop gets to it;
    // false if it was laid out already.
    bool layOut();
    tAxisRange valueRange() const;
    // The area inside the axes, in pixels of the view.
    tPlotArea plotArea() const;

private:
    double toAxis(double value) const;
    double fromAxis(double value) const;
    void addEventsSeries();
    void addLines();
    void attachBottom(bool runtimeAxis);
    void fitTicks();
    void fitRuntimeTicks();
    double runtimeStep(double span) const;
    void setRuntimeStep(double step);
    tAxisRange bottomAxisRange(const tAxisRange& range) const;
    bool holdsBottomRange(const tAxisRange& range) const;
    void setBottomRange(const tAxisRange& range);
    struct tNiceScale {
        double maximum;
        int ticks;
    };
    tNiceScale niceScale(double top) const;
    void fitValueAxis();
    void setMargins();

    tChartId kind_;
    QChart* chart_;
    tChartView* view_;
    QDateTimeAxis* dateAxis_;
    QValueAxis* runtimeAxis_;
    QValueAxis* valueAxis_;
    QValueAxis* eventsAxis_;
    QLineSeries* eventsUpper_ = nullptr;
    QAreaSeries* eventBars_ = nullptr;
    std::vector<QLineSeries*> lines_;
    std::vector<double> eventPositions_;
    bool onRuntime_ = false;
    bool empty_ = false;
    tPlotEdges indents_;
    bool settling_ = false;
    double top_ = 0;
    int bottomTicks_ = 0;
    int valueTicks_ = 0;
};

// Keeps the plot areas of two charts of the same width over each other, so
// that a date is at the same pixel column in both: the chart with the
// narrower left labels is moved in by the difference.
void alignPlotAreas(tGraphChart& upper, tGraphChart& lower);

} // namespace pln
