#include "graphs/ui/graph_chart.h"

#include "graphs/core/graph_data.h"
#include "graphs/ui/chart_view.h"
#include "graphs/ui/qt_colour.h"

#include <QAreaSeries>
#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QTimeZone>
#include <QValueAxis>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <span>
#include <utility>

namespace pln {

namespace {

// The names the series are known by in the window's design.
constexpr std::array<const char*, requestsSeriesCount> requestsComponents{
    "Series21", "PointSeries1", "Series2",  "Series5",  "Series6",  "Series4", "Series10",
    "Series15", "Series16",     "Series17", "Series18", "Series19", "Series20"};
constexpr std::array<const char*, transferredSeriesCount> transferredComponents{
    "Series22", "Series1",  "Series3",  "Series7",  "Series8",
    "Series9",  "Series11", "Series12", "Series13", "Series14"};

tChartId idOf(tChartKind kind) {
    return kind == tChartKind::requests ? tChartId::requests : tChartId::transferred;
}

std::span<const char* const> componentsOf(tChartKind kind) {
    if (kind == tChartKind::requests)
        return requestsComponents;
    return transferredComponents;
}

// The colours before the user's choice is applied.
QColor designColour(tChartKind kind, std::size_t index) {
    if (kind == tChartKind::requests)
        return toQColor(tChartColours().requestsColours().at(index));
    return toQColor(designSlotColours.at(index));
}

// The bars are a hundredth of the visible range wide.
constexpr double eventBarWidth = 0.01;
constexpr double initialBottomMaximum = 25;
constexpr double msPerDay = 86'400'000;
// 1970-01-01, where the date axis counts from, in days of the calendar.
constexpr double unixEpochDays = 25'569;

} // namespace

tGraphChart::tGraphChart(tChartKind kind, QWidget* parent)
    : kind_(kind), chart_(new QChart), view_(new tChartView(chart_, parent)),
      dateAxis_(new QDateTimeAxis), runtimeAxis_(new QValueAxis), valueAxis_(new QValueAxis),
      eventsAxis_(new QValueAxis) {
    view_->setObjectName(kind == tChartKind::requests ? "requestsChart" : "transferredChart");
    // The title only keeps a strip free at the top, where the read-out sits.
    chart_->setTitle(QStringLiteral(" "));
    chart_->setTitleFont(QFont(QStringLiteral("Arial"), 8));
    chart_->setTitleBrush(Qt::black);
    chart_->setBackgroundBrush(Qt::white);
    chart_->setBackgroundRoundness(0);
    chart_->setPlotAreaBackgroundVisible(false);
    chart_->setMargins(QMargins(4, 0, 8, 2));
    chart_->legend()->hide();

    dateAxis_->setFormat(QStringLiteral("dd/MM/yyyy"));
    runtimeAxis_->setLabelFormat(QStringLiteral("%g"));
    for (QAbstractAxis* axis :
         {static_cast<QAbstractAxis*>(dateAxis_), static_cast<QAbstractAxis*>(runtimeAxis_)}) {
        axis->setLineVisible(false);
        axis->setGridLineVisible(true);
        // The lower chart shows no dates, only the axis title. Its labels
        // stay in the layout, drawn in no colour: without them the chart
        // component cuts the title down to an ellipsis.
        if (kind == tChartKind::transferred)
            axis->setLabelsBrush(Qt::transparent);
        chart_->addAxis(axis, Qt::AlignBottom);
    }
    runtimeAxis_->setRange(0, initialBottomMaximum);
    valueAxis_->setLineVisible(false);
    valueAxis_->setRange(0, 1);
    chart_->addAxis(valueAxis_, Qt::AlignLeft);
    eventsAxis_->setRange(0, 1);
    eventsAxis_->setVisible(false);
    chart_->addAxis(eventsAxis_, Qt::AlignRight);
    if (kind == tChartKind::transferred)
        setBottomTitle(QStringLiteral("Date"));

    addEventsSeries();
    addLines();
    attachBottom(true);
}

void tGraphChart::addEventsSeries() {
    eventsUpper_ = new QLineSeries(chart_);
    eventBars_ = new QAreaSeries(eventsUpper_);
    eventBars_->setObjectName(QString::fromLatin1(componentsOf(kind_).front()));
    eventBars_->setName(QString::fromStdString(pln::seriesTitle(idOf(kind_), 0)));
    eventBars_->setPen(Qt::NoPen);
    eventBars_->setBrush(designColour(kind_, 0));
    chart_->addSeries(eventBars_);
    eventBars_->attachAxis(eventsAxis_);
}

void tGraphChart::addLines() {
    const std::span<const char* const> components = componentsOf(kind_);
    for (std::size_t index = 1; index < components.size(); ++index) {
        auto* line = new QLineSeries;
        line->setObjectName(QString::fromLatin1(components[index]));
        line->setName(
            QString::fromStdString(pln::seriesTitle(idOf(kind_), static_cast<int>(index))));
        line->setPointsVisible(false);
        line->setPen(QPen(designColour(kind_, index), 1));
        chart_->addSeries(line);
        line->attachAxis(valueAxis_);
        lines_.push_back(line);
    }
}

void tGraphChart::attachBottom(bool runtimeAxis) {
    QAbstractAxis* shown = runtimeAxis ? static_cast<QAbstractAxis*>(runtimeAxis_) : dateAxis_;
    QAbstractAxis* hidden = runtimeAxis ? static_cast<QAbstractAxis*>(dateAxis_) : runtimeAxis_;
    for (QAbstractSeries* series : chart_->series()) {
        if (series->attachedAxes().contains(hidden))
            series->detachAxis(hidden);
        if (!series->attachedAxes().contains(shown))
            series->attachAxis(shown);
    }
    hidden->setVisible(false);
    shown->setVisible(true);
    onRuntime_ = runtimeAxis;
}

QString tGraphChart::seriesTitle(int index) const {
    return index == 0 ? eventBars_->name() : lines_.at(static_cast<std::size_t>(index - 1))->name();
}

QColor tGraphChart::seriesColour(int index) const {
    if (index == 0)
        return eventBars_->brush().color();
    return lines_.at(static_cast<std::size_t>(index - 1))->pen().color();
}

void tGraphChart::setSeriesColour(int index, const QColor& colour) {
    if (index == 0)
        eventBars_->setBrush(colour);
    else
        lines_.at(static_cast<std::size_t>(index - 1))->setPen(QPen(colour, 1));
}

// The date axis counts real milliseconds and labels them in local time, so
// a calendar reading goes to the instant it stands for under the local
// rules of its own date: every label shows the reading that was stored,
// whatever the daylight-saving season of the label or of today.
double tGraphChart::toAxis(double value) const {
    if (onRuntime_)
        return value;
    const auto ms = static_cast<qint64>(std::llround((value - unixEpochDays) * msPerDay));
    const QDateTime reading = QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc());
    return static_cast<double>(QDateTime(reading.date(), reading.time()).toMSecsSinceEpoch());
}

double tGraphChart::fromAxis(double value) const {
    if (onRuntime_)
        return value;
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(std::llround(value));
    const QDateTime reading(local.date(), local.time(), QTimeZone::utc());
    return static_cast<double>(reading.toMSecsSinceEpoch()) / msPerDay + unixEpochDays;
}

QList<QPointF> tGraphChart::points(int index) const {
    QList<QPointF> points = lines_.at(static_cast<std::size_t>(index - 1))->points();
    for (QPointF& point : points)
        point.setX(fromAxis(point.x()));
    return points;
}

void tGraphChart::setPoints(int index, QList<QPointF> points) {
    for (QPointF& point : points)
        point.setX(toAxis(point.x()));
    lines_.at(static_cast<std::size_t>(index - 1))->replace(points);
}

void tGraphChart::setEvents(const std::vector<double>& positions) {
    eventPositions_ = positions;
    const tAxisRange range = bottomRange();
    const double half = (toAxis(range.maximum) - toAxis(range.minimum)) * eventBarWidth / 2;
    // Bars that touch become one: the outline of the area may not run back
    // over itself, or the overlap would be left unfilled.
    QList<QPointF> outline;
    outline.reserve(static_cast<qsizetype>(positions.size() * 4));
    const auto addBar = [&outline](double left, double right) {
        outline << QPointF(left, 0) << QPointF(left, 1) << QPointF(right, 1) << QPointF(right, 0);
    };
    std::optional<std::pair<double, double>> bar;
    for (const double position : positions) {
        const double x = toAxis(position);
        if (bar && x - half <= bar->second) {
            bar->second = std::max(bar->second, x + half);
            continue;
        }
        if (bar)
            addBar(bar->first, bar->second);
        bar = std::pair{x - half, x + half};
    }
    if (bar)
        addBar(bar->first, bar->second);
    eventsUpper_->replace(outline);
}

void tGraphChart::clear(bool runtimeAxis) {
    for (auto line = lines_.rbegin(); line != lines_.rend(); ++line)
        (*line)->clear();
    eventsUpper_->clear();
    eventPositions_.clear();
    if (runtimeAxis != onRuntime_)
        attachBottom(runtimeAxis);
}

void tGraphChart::setBottomRange(double minimum, double maximum) {
    const double low = toAxis(std::min(minimum, maximum));
    const double high = toAxis(std::max(minimum, maximum));
    if (onRuntime_)
        runtimeAxis_->setRange(low, high);
    else
        dateAxis_->setRange(QDateTime::fromMSecsSinceEpoch(std::llround(low)),
                            QDateTime::fromMSecsSinceEpoch(std::llround(high)));
}

tAxisRange tGraphChart::bottomRange() const {
    if (onRuntime_)
        return {runtimeAxis_->min(), runtimeAxis_->max()};
    return {fromAxis(static_cast<double>(dateAxis_->min().toMSecsSinceEpoch())),
            fromAxis(static_cast<double>(dateAxis_->max().toMSecsSinceEpoch()))};
}

void tGraphChart::setBottomTitle(const QString& title) {
    dateAxis_->setTitleText(title);
    runtimeAxis_->setTitleText(title);
}

QString tGraphChart::bottomTitle() const {
    return onRuntime_ ? runtimeAxis_->titleText() : dateAxis_->titleText();
}

void tGraphChart::fitValueAxis() {
    double top = 0;
    for (const QLineSeries* line : lines_)
        for (const QPointF& point : line->points())
            top = std::max(top, point.y());
    valueAxis_->setRange(0, top > 0 ? top : 1);
    valueAxis_->applyNiceNumbers();
    valueAxis_->setMin(0);
}

tAxisRange tGraphChart::valueRange() const {
    return {valueAxis_->min(), valueAxis_->max()};
}

tPlotArea tGraphChart::plotArea() const {
    const QRectF area = view_->mapFromScene(chart_->plotArea()).boundingRect();
    return {area.left(), area.top(), area.right(), area.bottom()};
}

} // namespace pln
