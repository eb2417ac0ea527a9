#include "graphs/ui/graph_chart.h"

#include "graphs/core/graph_data.h"
#include "graphs/ui/chart_view.h"
#include "graphs/ui/qt_colour.h"

#include <QAreaSeries>
#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFontMetrics>
#include <QGraphicsLayout>
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

std::span<const char* const> componentsOf(tChartId kind) {
    if (kind == tChartId::requests)
        return requestsComponents;
    return transferredComponents;
}

// The colours before the user's choice is applied.
QColor designColour(tChartId kind, std::size_t index) {
    if (kind == tChartId::requests)
        return toQColor(tChartColours().requestsColours().at(index));
    return toQColor(designSlotColours.at(index));
}

// The bars are a hundredth of the visible range wide.
constexpr double eventBarWidth = 0.01;
constexpr QMargins chartMargins(4, 0, 8, 2);
// The free room between two labels of an axis, in pixels beside each other
// on the bottom axis and in lines of text above each other on the left.
constexpr int bottomLabelGap = 16;
constexpr int valueLabelLines = 2;
constexpr int maxTicks = 11;
const char* const emptyHint = "Select known files or stats logs to draw their graphs";
constexpr double initialBottomMaximum = 25;
constexpr double msPerDay = 86'400'000;
// 1970-01-01, where the date axis counts from, in days of the calendar.
constexpr double unixEpochDays = 25'569;

// A round number near x of the form 1, 2, 5 or 10 times a power of ten: the
// next one up, or else the closest.
double niceNumber(double x, bool ceiling) {
    const double power = std::pow(10.0, std::floor(std::log10(x)));
    const double q = x / power;
    double nice = 10;
    if (ceiling)
        nice = q <= 1 ? 1 : q <= 2 ? 2 : q <= 5 ? 5 : 10;
    else
        nice = q < 1.5 ? 1 : q < 3 ? 2 : q < 7 ? 5 : 10;
    return nice * power;
}

} // namespace

tGraphChart::tGraphChart(tChartId kind, QWidget* parent)
    : kind_(kind), chart_(new QChart), view_(new tChartView(chart_, parent)),
      dateAxis_(new QDateTimeAxis), runtimeAxis_(new QValueAxis), valueAxis_(new QValueAxis),
      eventsAxis_(new QValueAxis) {
    view_->setObjectName(kind == tChartId::requests ? "requestsChart" : "transferredChart");
    // The title only keeps a strip free at the top, where the read-out sits.
    chart_->setTitle(QStringLiteral(" "));
    chart_->setTitleFont(QFont(QStringLiteral("Arial"), 8));
    chart_->setTitleBrush(Qt::black);
    chart_->setBackgroundBrush(Qt::white);
    chart_->setBackgroundRoundness(0);
    chart_->setPlotAreaBackgroundVisible(false);
    chart_->setMargins(chartMargins);
    // The view is small at the window's design size: the chart keeps no
    // padding of its own around the margins.
    chart_->layout()->setContentsMargins(0, 0, 0, 0);
    chart_->legend()->hide();

    // The lower chart's bottom labels are never shown, but laid out with the
    // chart all the same: blanks cost the least.
    const bool labelled = kind == tChartId::requests;
    dateAxis_->setFormat(labelled ? QStringLiteral("dd/MM/yyyy") : QStringLiteral(" "));
    runtimeAxis_->setLabelFormat(labelled ? QStringLiteral("%g") : QStringLiteral(" "));
    for (QAbstractAxis* axis :
         {static_cast<QAbstractAxis*>(dateAxis_), static_cast<QAbstractAxis*>(runtimeAxis_)}) {
        axis->setLineVisible(false);
        axis->setGridLineVisible(true);
        // The lower chart shows no dates, only the axis title, under the
        // plot area: the chart component would cut a title of its own down
        // to an ellipsis in a small window.
        if (kind == tChartId::transferred)
            axis->setLabelsVisible(false);
        chart_->addAxis(axis, Qt::AlignBottom);
    }
    runtimeAxis_->setRange(0, initialBottomMaximum);
    valueAxis_->setLineVisible(false);
    valueAxis_->setRange(0, 1);
    chart_->addAxis(valueAxis_, Qt::AlignLeft);
    eventsAxis_->setRange(0, 1);
    eventsAxis_->setVisible(false);
    chart_->addAxis(eventsAxis_, Qt::AlignRight);
    if (kind == tChartId::transferred)
        setBottomTitle(QStringLiteral("Date"));

    addEventsSeries();
    addLines();
    attachBottom(true);
    QObject::connect(chart_, &QChart::plotAreaChanged, chart_, [this] {
        settling_ = false;
        fitTicks();
    });
}

void tGraphChart::addEventsSeries() {
    eventsUpper_ = new QLineSeries(chart_);
    eventBars_ = new QAreaSeries(eventsUpper_);
    eventBars_->setObjectName(QString::fromLatin1(componentsOf(kind_).front()));
    eventBars_->setName(QString::fromStdString(pln::seriesTitle(kind_, 0)));
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
        line->setName(QString::fromStdString(pln::seriesTitle(kind_, static_cast<int>(index))));
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
    if (seriesColour(index) == colour)
        return;
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
    outline.reserve(static_cast<qsizetype>(positions.size()) * 4);
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
    if (!outline.isEmpty() || eventsUpper_->count() > 0)
        eventsUpper_->replace(outline);
}

// A series told to change, even to what it holds, is laid out again, and
// so is every line on an axis whose range changes: the lines to be refilled
// keep their points only while the axes stay where they are.
void tGraphChart::startDrawing(const tDrawingAxes& axes, std::span<const int> refilled) {
    const bool axesMove = axes.runtimeAxis != onRuntime_ ||
                          (axes.bottom && !holdsBottomRange(*axes.bottom)) ||
                          valueAxis_->max() != niceScale(axes.top).maximum;
    for (std::size_t i = lines_.size(); i-- > 0;)
        if (lines_[i]->count() > 0 &&
            (axesMove || std::find(refilled.begin(), refilled.end(), static_cast<int>(i) + 1) ==
                             refilled.end()))
            lines_[i]->clear();
    if (eventsUpper_->count() > 0)
        eventsUpper_->clear();
    eventPositions_.clear();
    if (axes.runtimeAxis != onRuntime_)
        attachBottom(axes.runtimeAxis);
    // A drawing of nothing has no range of its own: the axes show none.
    setEmpty(!axes.bottom);
    if (axes.bottom)
        setBottomRange(*axes.bottom);
    top_ = axes.top;
    fitValueAxis();
}

// The bottom range as the shown axis holds it, from calendar days or
// runtime days.
tAxisRange tGraphChart::bottomAxisRange(const tAxisRange& range) const {
    return {toAxis(std::min(range.minimum, range.maximum)),
            toAxis(std::max(range.minimum, range.maximum))};
}

bool tGraphChart::holdsBottomRange(const tAxisRange& range) const {
    const tAxisRange held = bottomAxisRange(range);
    if (onRuntime_)
        return runtimeAxis_->min() == held.minimum && runtimeAxis_->max() == held.maximum;
    return dateAxis_->min().toMSecsSinceEpoch() == std::llround(held.minimum) &&
           dateAxis_->max().toMSecsSinceEpoch() == std::llround(held.maximum);
}

// The runtime axis lays out a label per tick as soon as its range or its
// interval changes: five years reached with the interval of a few days
// would measure a thousand labels before the interval caught up. Of the
// two changes, the one that leaves fewer ticks goes first.
void tGraphChart::setBottomRange(const tAxisRange& range) {
    const tAxisRange held = bottomAxisRange(range);
    if (onRuntime_) {
        const double step = runtimeStep(held.maximum - held.minimum);
        const bool widening = step > runtimeAxis_->tickInterval();
        if (widening)
            setRuntimeStep(step);
        runtimeAxis_->setRange(held.minimum, held.maximum);
        if (!widening)
            setRuntimeStep(step);
    } else
        dateAxis_->setRange(QDateTime::fromMSecsSinceEpoch(std::llround(held.minimum)),
                            QDateTime::fromMSecsSinceEpoch(std::llround(held.maximum)));
}

tAxisRange tGraphChart::bottomRange() const {
    if (onRuntime_)
        return {runtimeAxis_->min(), runtimeAxis_->max()};
    return {fromAxis(static_cast<double>(dateAxis_->min().toMSecsSinceEpoch())),
            fromAxis(static_cast<double>(dateAxis_->max().toMSecsSinceEpoch()))};
}

void tGraphChart::setBottomTitle(const QString& title) {
    view_->setFooter(title);
    setMargins();
}

QString tGraphChart::bottomTitle() const {
    return view_->footer();
}

// The value axis runs from 0 to just above the largest value drawn. Every
// change of its range lays out each line of the chart again: the range and
// the ticks are worked out first and given to the axis once.
void tGraphChart::fitValueAxis() {
    const tNiceScale scale = niceScale(top_);
    valueAxis_->setRange(0, scale.maximum);
    valueAxis_->setTickCount(scale.ticks);
}

// The scale from 0 that holds top (or 1 if there is nothing above 0) in
// round steps, for about as many ticks as fit: the same loose labelling the
// value axis applies to its own range.
tGraphChart::tNiceScale tGraphChart::niceScale(double top) const {
    if (!(top > 0))
        top = 1;
    const int ticks = valueTicks_ > 0 ? valueTicks_ : valueAxis_->tickCount();
    const double step = niceNumber(niceNumber(top, true) / (ticks - 1), false);
    const double steps = std::ceil(top / step);
    return {steps * step, static_cast<int>(steps) + 1};
}

// As many ticks as labels fit beside each other on the bottom axis and
// above each other on the left one, so that no label is cut short.
void tGraphChart::fitTicks() {
    const QRectF area = chart_->plotArea();
    // Both charts have the same grid: the lower one's hidden labels count
    // as the upper one's.
    const QFontMetrics metrics(valueAxis_->labelsFont());
    const int labelWidth = metrics.horizontalAdvance(QStringLiteral("00/00/0000")) + bottomLabelGap;
    const int bottom = std::clamp(static_cast<int>(area.width()) / labelWidth + 1, 2, maxTicks);
    const int value = std::clamp(
        static_cast<int>(area.height()) / (valueLabelLines * metrics.height()) + 1, 2, maxTicks);
    if (bottom != bottomTicks_) {
        bottomTicks_ = bottom;
        dateAxis_->setTickCount(bottom);
        fitRuntimeTicks();
    }
    if (value != valueTicks_) {
        valueTicks_ = value;
        fitValueAxis();
    }
}

// Runtime days are labelled at round steps of 1, 2 or 5 times a power of
// ten, counted from day 0, at most as many as the ticks that fit; 0 before
// the chart is laid out or for an empty span.
double tGraphChart::runtimeStep(double span) const {
    if (span <= 0 || bottomTicks_ < 2)
        return 0;
    const double rough = span / (bottomTicks_ - 1);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double nice : {1.0, 2.0, 5.0})
        if (nice * power >= rough)
            return nice * power;
    return 10 * power;
}

void tGraphChart::setRuntimeStep(double step) {
    if (step <= 0)
        return;
    runtimeAxis_->setTickInterval(step);
    runtimeAxis_->setTickAnchor(0);
    runtimeAxis_->setTickType(QValueAxis::TicksDynamic);
}

void tGraphChart::fitRuntimeTicks() {
    setRuntimeStep(runtimeStep(runtimeAxis_->max() - runtimeAxis_->min()));
}

void tGraphChart::setEmpty(bool empty) {
    empty_ = empty;
    for (QAbstractAxis* axis : std::array<QAbstractAxis*, 3>{dateAxis_, runtimeAxis_, valueAxis_}) {
        axis->setGridLineVisible(!empty);
        // The lower chart's bottom labels only keep room for its title.
        if (kind_ == tChartId::requests || axis == valueAxis_)
            axis->setLabelsVisible(!empty);
    }
    if (kind_ == tChartId::requests)
        view_->setHint(empty ? QString::fromLatin1(emptyHint) : QString());
}

bool tGraphChart::layOut() {
    QGraphicsLayout& layout = *chart_->layout();
    if (layout.isActivated())
        return false;
    layout.activate();
    return true;
}

tPlotEdges tGraphChart::naturalEdges() const {
    const QRectF area = chart_->plotArea();
    return {area.left() - indents_.left, chart_->size().width() - area.right() - indents_.right};
}

void tGraphChart::setIndents(tPlotEdges indents) {
    const auto left = static_cast<int>(std::lround(indents.left));
    const auto right = static_cast<int>(std::lround(indents.right));
    if (left == indents_.left && right == indents_.right)
        return;
    indents_ = {static_cast<double>(left), static_cast<double>(right)};
    settling_ = true;
    setMargins();
}

// The margins keep room for the footer and for the indents.
void tGraphChart::setMargins() {
    chart_->setMargins(chartMargins + QMargins(static_cast<int>(indents_.left), 0,
                                               static_cast<int>(indents_.right),
                                               view_->footerHeight()));
}

void alignPlotAreas(tGraphChart& upper, tGraphChart& lower) {
    // Until a chart is laid out with its new margins, its plot area does not
    // tell where its labels put it.
    const auto align = [&upper, &lower] {
        if (upper.settling() || lower.settling())
            return;
        const tPlotEdges a = upper.naturalEdges();
        const tPlotEdges b = lower.naturalEdges();
        const double left = std::max(a.left, b.left);
        const double right = std::max(a.right, b.right);
        upper.setIndents({left - a.left, right - a.right});
        lower.setIndents({left - b.left, right - b.right});
    };
    QObject::connect(&upper.chart(), &QChart::plotAreaChanged, &upper.chart(), align);
    QObject::connect(&lower.chart(), &QChart::plotAreaChanged, &upper.chart(), align);
}

tAxisRange tGraphChart::valueRange() const {
    return {valueAxis_->min(), valueAxis_->max()};
}

tPlotArea tGraphChart::plotArea() const {
    const QRectF area = view_->mapFromScene(chart_->plotArea()).boundingRect();
    return {area.left(), area.top(), area.right(), area.bottom()};
}

} // namespace pln
