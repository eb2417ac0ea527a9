#include "app/ui/graphs_panel.h"

#include "app/ui/busy_cursor.h"
#include "app/ui/drawn_logs_watch.h"
#include "app/ui/graph_export_command.h"
#include "app/ui/known_files_list.h"
#include "app/ui/list_view.h"
#include "app/ui/main_form.h"
#include "app/ui/stats_logs_list.h"
#include "common/error.h"
#include "graphs/core/displayed_file.h"
#include "graphs/core/events_log.h"
#include "graphs/core/graph_data.h"
#include "graphs/core/zoom_scroll.h"
#include "graphs/ui/chart_view.h"
#include "graphs/ui/color_form.h"
#include "graphs/ui/events_log_edit_form.h"
#include "graphs/ui/graph_applier.h"
#include "graphs/ui/graph_chart.h"
#include "graphs/ui/graph_options_form.h"
#include "graphs/ui/graph_readout.h"
#include "graphs/ui/locale_date_time.h"
#include "logstore/core/log_file.h"
#include "logstore/core/log_files.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QMenu>
#include <QScrollBar>
#include <QTextEdit>
#include <QVBoxLayout>

namespace pln {

namespace {

template <class Widget> Widget& child(tMainForm& form, const char* name) {
    auto* found = form.findChild<Widget*>(QString::fromLatin1(name));
    Q_ASSERT(found);
    return *found;
}

std::unique_ptr<tGraphChart> chartIn(tMainForm& form, tChartId kind, const char* panelName) {
    auto& panel = child<QWidget>(form, panelName);
    auto chart = std::make_unique<tGraphChart>(kind, &panel);
    panel.layout()->addWidget(&chart->view());
    return chart;
}

} // namespace

tGraphsPanel::tGraphsPanel(tMainForm& form)
    : QObject(&form), form_(form),
      requests_(chartIn(form, tChartId::requests, "requestsChartPanel")),
      transferred_(chartIn(form, tChartId::transferred, "transferredChartPanel")),
      zoomBar_(&child<QScrollBar>(form, "zoomBar")),
      scrollBar_(&child<QScrollBar>(form, "scrollBar")),
      requestsLegend_(&child<QTextEdit>(form, "requestsLegend")),
      transfersLegend_(&child<QTextEdit>(form, "transfersLegend")) {
    readout_ = std::make_unique<tGraphReadout>(
        *requests_, *transferred_,
        tReadoutContext{form.logFiles(), form.prompter(),
                        [this](const std::string& hash) { return getDisplayedFile(hash); },
                        localeDateTimeText},
        eventsLogPath(form.values().locations.dataFolder));
    zoomBar_->setToolTip(QStringLiteral("Zoom"));
    zoomBar_->setRange(1, 1);
    scrollBar_->setToolTip(QStringLiteral("Scroll"));
    scrollBar_->setRange(0, 0);
    scrollBar_->setPageStep(scrollStepsPerWindow);
    drawnLogs_ = new tDrawnLogsWatch([this] { redraw(); }, this);
    colours_ = loadColors(settings(), form.prompter());
    alignPlotAreas(*requests_, *transferred_);
    requests_->setEmpty(true);
    transferred_->setEmpty(true);
    connectCharts();
    new tGraphExportCommand({form,
                             {*requests_, *transferred_, *requestsLegend_, *transfersLegend_},
                             [this]() -> const tGraphResult& { return shown_; },
                             form.prompter()},
                            *form.actions().aGrSaveImage, *form.actions().aGrSaveData);
}

tGraphsPanel::~tGraphsPanel() = default;

tGraphSettings tGraphsPanel::settings() {
    return {[this](const std::string& key, const std::string& defaultValue) {
                return form_.getIniString(key, defaultValue);
            },
            [this](const std::string& key, const std::string& value) {
                form_.setIniString(key, value);
            }};
}

void tGraphsPanel::connectCharts() {
    connect(&form_, &tMainForm::drawGraphicsRequested, this, &tGraphsPanel::drawGraphics);
    connect(&form_, &tMainForm::readoutRequested, this,
            qOverload<>(&tGraphsPanel::showValuesAtCursor));
    connect(zoomBar_, &QScrollBar::valueChanged, this, &tGraphsPanel::zoomBarChange);
    connect(scrollBar_, &QScrollBar::valueChanged, this, &tGraphsPanel::redraw);
    const tMainActions& a = form_.actions();
    a.aColors->setEnabled(true);
    a.aGraphOptions->setEnabled(true);
    connect(a.aColors, &QAction::triggered, this, &tGraphsPanel::aColorsExecute);
    connect(a.aGraphOptions, &QAction::triggered, this, &tGraphsPanel::aGraphOptionsExecute);
    connectChart(*requests_);
    connectChart(*transferred_);
    // A new axis moves the plot area once the chart is laid out again; the
    // read-out under the resting mouse follows it then.
    connect(&requests_->chart(), &QChart::plotAreaChanged, this, [this] {
        form_.idleFlags().readoutPending = true;
        form_.requestIdle();
    });
}

void tGraphsPanel::connectChart(tGraphChart& chart) {
    tChartView* view = &chart.view();
    connect(view, &tChartView::mouseMoved, this,
            [this, &chart, view](QPoint position, Qt::KeyboardModifiers keys) {
                readout_->showValuesAtCursor(&chart, view->mapToGlobal(position), keys);
            });
    connect(view, &tChartView::mouseLeft, this,
            [this] { readout_->showValuesAtCursor(nullptr, QCursor::pos(), {}, true); });
    connect(view, &tChartView::clicked, this,
            [this, &chart](QPoint position, Qt::KeyboardModifiers keys) {
                chartClick(chart, position, keys);
            });
    connect(view, &tChartView::doubleClicked, this,
            [this, &chart](QPoint position, Qt::KeyboardModifiers keys) {
                chartDblClick(chart, position, keys);
            });
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](QPoint position) {
        form_.actions().chartPopup->popup(view->mapToGlobal(position));
    });
}

void tGraphsPanel::redraw() {
    form_.idleFlags().redrawPending = true;
    form_.requestIdle();
}

void tGraphsPanel::drawGraphics() {
    BusyCursor busy;
    tKnownFilesList& knownFiles = form_.knownFilesList();
    tStatsLogsList& statsLogs = form_.statsLogsList();
    tGraphRequest request;
    request.logFiles = &form_.logFiles();
    request.knownMetLoaded = form_.knownMet().list() != nullptr;
    request.runtimeAxis = form_.actions().aGrEmuleRuntime->isChecked();
    request.referenceFile1 = knownFiles.model().reference1();
    request.referenceFile2 = knownFiles.model().reference2();
    request.selectedKnownFiles = knownFiles.selectedRecords();
    for (const std::size_t position : statsLogs.selectedPositions())
        request.selectedStatLogs.push_back(statsLogs.model().logAt(static_cast<int>(position)));
    request.zoom = zoomBar_->value();
    request.scroll = scrollBar_->value();
    request.chartWidth = requests_->view().width();
    request.pointsPerPixel = form_.values().pointsPerPixel;
    request.colours = colours_;
    tEventsLog events(eventsLogPath(form_.values().locations.dataFolder));
    events.load(form_.prompter(), &eventsRead_);
    request.events = &events;

    tGraphResult result;
    try {
        result = computeGraphs(request);
    } catch (const Error& error) {
        // The charts keep the last drawing; the logs are released already.
        form_.prompter().showError(error.what());
        return;
    }
    if (result.runtimeAxisUnavailable)
        form_.actions().aGrEmuleRuntime->setChecked(false);
    tGraphCharts charts{*requests_, *transferred_, *requestsLegend_, *transfersLegend_};
    applyGraphResult(result, charts);
    applyDisplayColours(result, form_.knownMet().list(), form_.logFiles());
    knownFiles.view().viewport()->update();
    statsLogs.view().viewport()->update();
    if (result.zoomBarMaximum)
        zoomBar_->setMaximum(*result.zoomBarMaximum);
    watchDrawnLogs(result, request.selectedStatLogs);
    shown_ = std::move(result);
    form_.idleFlags().readoutPending = true;
    form_.requestIdle();
}

void tGraphsPanel::watchDrawnLogs(const tGraphResult& result,
                                  const std::vector<tLogFile*>& statLogs) {
    std::vector<std::string> paths;
    tLogFiles& logs = form_.logFiles();
    for (const tDrawnKnownFile& file : result.drawnKnownFiles)
        if (const tLogFile* log = logs.findLog(file.hash))
            paths.push_back(log->path());
    for (const tDrawnStatLog& drawn : result.drawnStatLogs)
        for (const tLogFile* log : statLogs)
            if (log->name() == drawn.name)
                paths.push_back(log->path());
    // The runtime axis moves with the ConnRunTime log.
    if (!paths.empty() && result.runtimeAxis && logs.connRunTimeLog())
        paths.push_back(logs.connRunTimeLog()->path());
    drawnLogs_->watch(paths);
}

void tGraphsPanel::showValuesAtCursor() {
    // The keys as they are now, not as the last event saw them: a key
    // pressed over the chart changes the cursor without a mouse move.
    readout_->showValuesAtCursor(nullptr, QCursor::pos(),
                                 QGuiApplication::queryKeyboardModifiers());
}

const tKnownMetRecord* tGraphsPanel::getDisplayedFile(const std::string& hash) const {
    return pln::getDisplayedFile(form_.knownMet().list(), hash);
}

void tGraphsPanel::zoomBarChange() {
    const tScrollBarState after =
        scrollAfterZoom({scrollBar_->maximum(), scrollBar_->value()}, zoomBar_->value());
    const QSignalBlocker quiet(scrollBar_);
    scrollBar_->setMaximum(after.maximum);
    scrollBar_->setValue(after.position);
    redraw();
}

void tGraphsPanel::chartClick(tGraphChart& chart, QPoint position, Qt::KeyboardModifiers keys) {
    const bool zoomIn = keys.testFlag(Qt::ShiftModifier);
    if (chart.isEmpty() || (!zoomIn && !keys.testFlag(Qt::ControlModifier)))
        return;
    const tPlotArea area = chart.plotArea();
    if (position.x() < area.left || position.x() > area.right)
        return;
    const tAxisRange range = chart.bottomRange();
    const std::optional<tZoomPosition> zoomed = zoomAroundClick(
        {range.minimum, range.maximum, area.ratioAt(position.x()), zoomBar_->value(),
         zoomBar_->minimum(), zoomBar_->maximum(), scrollBar_->value(), zoomIn});
    if (!zoomed)
        return;
    zoomBar_->setValue(zoomed->zoom);
    scrollBar_->setValue(zoomed->scroll);
}

void tGraphsPanel::chartDblClick(tGraphChart& chart, QPoint position, Qt::KeyboardModifiers keys) {
    if (keys.testFlag(Qt::ShiftModifier) || keys.testFlag(Qt::ControlModifier))
        return;
    const tPlotArea area = chart.plotArea();
    if (!area.contains(position.x(), position.y()))
        return;
    // Nothing drawn, no date under the mouse: the editor opens on none.
    if (chart.isEmpty()) {
        editEventsLog(std::nullopt);
        return;
    }
    // On the runtime axis the date comes from the ConnRunTime log; without
    // its records there is none to offer.
    const tCursorTime time = readout_->cursorToTime(chart, position.x());
    if (time.date)
        editEventsLog(time.date);
}

void tGraphsPanel::editEventsLog(std::optional<CalendarMs> date) {
    tKnownFilesList& knownFiles = form_.knownFilesList();
    std::vector<const tKnownMetRecord*> candidates{knownFiles.model().reference1(),
                                                   knownFiles.model().reference2()};
    for (const tKnownMetRecord* record : knownFiles.selectedRecords())
        if (record->graphColor != clWindow && record != candidates[0] && record != candidates[1])
            candidates.push_back(record);
    tEventsEditorContext context{eventsLogPath(form_.values().locations.dataFolder),
                                 {},
                                 [this](const std::string& hash) -> std::optional<tColour> {
                                     const tKnownMetRecord* file = getDisplayedFile(hash);
                                     if (!file)
                                         return std::nullopt;
                                     return file->graphColor;
                                 },
                                 form_.prompter()};
    for (const tKnownMetRecord* record : candidates)
        if (record)
            context.files.push_back(
                {record->getFileName(), record->hash.toString(), record->graphColor});
    if (tEventsLogEditForm::execute(&form_, context, date))
        redraw();
}

void tGraphsPanel::aColorsExecute() {
    tGraphSettings stored = settings();
    if (const std::optional<tChartColours> chosen = tColorForm::execute(&form_, colours_, stored)) {
        colours_ = *chosen;
        redraw();
    }
}

void tGraphsPanel::aGraphOptionsExecute() {
    tGraphSettings stored = settings();
    if (const std::optional<int> chosen =
            tGraphOptionsForm::execute(&form_, form_.values().pointsPerPixel, stored)) {
        form_.values().pointsPerPixel = *chosen;
        redraw();
    }
}

} // namespace pln
