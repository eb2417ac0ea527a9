#include "app/ui/graphs_panel.h"

#include "app/ui/busy_cursor.h"
#include "app/ui/drawn_logs_watch.h"
#include "app/ui/graph_export_command.h"
#include "app/ui/graph_scroll_bar.h"
#include "common/error.h"
#include "common/prompter.h"
#include "emulefiles/core/known_met.h"
#include "graphs/core/displayed_file.h"
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
#include <algorithm>
#include <set>

namespace pln {

namespace {

QTextEdit* legendBox(const char* name, QWidget* parent) {
    auto* box = new QTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setLineWrapMode(QTextEdit::NoWrap);
    return box;
}

// The keys in one list and not in the other, either way round.
std::set<std::string> changedKeys(const std::vector<std::string>& before,
                                  const std::vector<std::string>& after) {
    const std::set<std::string> old(before.begin(), before.end());
    const std::set<std::string> now(after.begin(), after.end());
    std::set<std::string> changed;
    std::set_symmetric_difference(old.begin(), old.end(), now.begin(), now.end(),
                                  std::inserter(changed, changed.end()));
    return changed;
}

} // namespace

tGraphsPanel::tGraphsPanel(tGraphsContext context, QWidget* parent)
    : QWidget(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("graphsPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The bars come first in the Tab order, which follows creation.
    buildBars();
    // The two charts share the height left by the scroll and zoom bars.
    requests_ = std::make_unique<tGraphChart>(tChartId::requests, this);
    transferred_ = std::make_unique<tGraphChart>(tChartId::transferred, this);
    layout->insertWidget(0, &requests_->view(), 1);
    layout->insertWidget(1, &transferred_->view(), 1);
    buildLegend();
    readout_ = std::make_unique<tGraphReadout>(
        *requests_, *transferred_,
        tReadoutContext{context_.logFiles, context_.prompter,
                        [this](const std::string& hash) { return displayedColour(hash); },
                        localeDateTimeText},
        context_.eventsPath);
    drawnLogs_ = new tDrawnLogsWatch(context_.redrawRequested, this);
    colours_ = loadColors(context_.settings, context_.prompter);
    alignPlotAreas(*requests_, *transferred_);
    requests_->setEmpty(true);
    transferred_->setEmpty(true);
    connectCharts();
    new tGraphExportCommand({*this,
                             {*requests_, *transferred_, *requestsLegend_, *transfersLegend_},
                             [this]() -> const tGraphResult& { return shown_; },
                             context_.prompter},
                            context_.actions.saveImage, context_.actions.saveData);
}

tGraphsPanel::~tGraphsPanel() = default;

void tGraphsPanel::buildBars() {
    scrollBar_ = new tGraphScrollBar(this);
    scrollBar_->setObjectName(QStringLiteral("scrollBar"));
    scrollBar_->setToolTip(QStringLiteral("Scroll"));
    scrollBar_->setPageStep(scrollStepsPerWindow);
    zoomBar_ = new tGraphScrollBar(this);
    zoomBar_->setObjectName(QStringLiteral("zoomBar"));
    zoomBar_->setToolTip(QStringLiteral("Zoom"));
    for (QScrollBar* bar : {scrollBar_, zoomBar_}) {
        // In the Tab order after the lists: arrows and Page Up/Down move them.
        bar->setFocusPolicy(Qt::StrongFocus);
        layout()->addWidget(bar);
        connect(bar, &QScrollBar::valueChanged, this, &tGraphsPanel::barsMoved);
    }
    showView();
}

void tGraphsPanel::buildLegend() {
    legend_ = new QWidget(this);
    auto* layout = new QVBoxLayout(legend_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    requestsLegend_ = legendBox("requestsLegend", legend_);
    transfersLegend_ = legendBox("transfersLegend", legend_);
    layout->addWidget(requestsLegend_, 1);
    layout->addWidget(transfersLegend_, 1);
}

// The bars show the view; the view follows the user's moves of them, within
// the range the bar offers.
void tGraphsPanel::barsMoved() {
    view_.setZoomMaximum(zoomBar_->maximum());
    const bool zoomMoved = view_.setZoom(zoomBar_->value());
    const bool scrollMoved = !zoomMoved && view_.setScroll(scrollBar_->value());
    showView();
    if (zoomMoved || scrollMoved)
        context_.redrawRequested();
}

void tGraphsPanel::showView() {
    const QSignalBlocker quietZoom(zoomBar_);
    const QSignalBlocker quietScroll(scrollBar_);
    zoomBar_->setRange(1, view_.zoomMaximum());
    zoomBar_->setValue(view_.zoom());
    scrollBar_->setRange(0, view_.scrollMaximum());
    scrollBar_->setValue(view_.scroll());
}

void tGraphsPanel::connectCharts() {
    const tGraphActions& a = context_.actions;
    a.colours.setEnabled(true);
    a.options.setEnabled(true);
    connect(&a.colours, &QAction::triggered, this, &tGraphsPanel::aColorsExecute);
    connect(&a.options, &QAction::triggered, this, &tGraphsPanel::aGraphOptionsExecute);
    connectChart(*requests_);
    connectChart(*transferred_);
    // A new axis moves the plot area once the chart is laid out again; the
    // read-out under the resting mouse follows it then.
    connect(&requests_->chart(), &QChart::plotAreaChanged, this,
            [this] { context_.readoutRequested(); });
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
        context_.actions.chartPopup.popup(view->mapToGlobal(position));
    });
}

void tGraphsPanel::setSelection(tGraphSelection selection) {
    if (selection == selection_)
        return;
    for (const std::string& hash : changedKeys(selection_.files, selection.files))
        context_.drawnColours.forgetFile(hash);
    for (const std::string& name : changedKeys(selection_.logs, selection.logs))
        context_.drawnColours.forgetLog(name);
    selection_ = std::move(selection);
    emit coloursChanged();
    context_.redrawRequested();
}

const tKnownMetRecord* tGraphsPanel::knownFile(const std::string& hash) const {
    const tKnownMetList* list = context_.knownMet.list();
    std::size_t index = 0;
    if (hash.empty() || !list || !list->findByHash(hash, index))
        return nullptr;
    return &list->record(index);
}

std::optional<tColour> tGraphsPanel::displayedColour(const std::string& hash) const {
    return displayedFileColour(context_.knownMet.list(), context_.drawnColours, hash);
}

tGraphRequest tGraphsPanel::request(tEventsLog& events) {
    tGraphRequest request;
    request.logFiles = &context_.logFiles;
    request.knownMetLoaded = context_.knownMet.list() != nullptr;
    request.runtimeAxis = context_.actions.runtimeAxis.isChecked();
    request.referenceFile1 = knownFile(selection_.reference1);
    request.referenceFile2 = knownFile(selection_.reference2);
    for (const std::string& hash : selection_.files)
        if (const tKnownMetRecord* record = knownFile(hash))
            request.selectedKnownFiles.push_back(record);
    for (const std::string& name : selection_.logs)
        if (tLogFile* log = context_.logFiles.findLog(name))
            request.selectedStatLogs.push_back(log);
    request.zoom = view_.zoom();
    request.scroll = view_.scroll();
    request.chartWidth = requests_->view().width();
    request.pointsPerPixel = context_.pointsPerPixel;
    request.colours = colours_;
    events.load(context_.prompter, &eventsRead_);
    request.events = &events;
    return request;
}

void tGraphsPanel::drawGraphics() {
    BusyCursor busy;
    tEventsLog events(context_.eventsPath);
    const tGraphRequest asked = request(events);
    tGraphResult result;
    try {
        result = computeGraphs(asked);
    } catch (const Error& error) {
        // The charts keep the last drawing; the logs are released already.
        context_.prompter.showError(error.what());
        return;
    }
    if (result.runtimeAxisUnavailable)
        context_.actions.runtimeAxis.setChecked(false);
    tGraphCharts charts{*requests_, *transferred_, *requestsLegend_, *transfersLegend_};
    applyGraphResult(result, charts);
    context_.drawnColours = drawnColours(result);
    emit coloursChanged();
    if (result.zoomBarMaximum && view_.setZoomMaximum(*result.zoomBarMaximum))
        context_.redrawRequested();
    showView();
    watchDrawnLogs(result, asked.selectedStatLogs);
    shown_ = std::move(result);
    context_.readoutRequested();
}

void tGraphsPanel::watchDrawnLogs(const tGraphResult& result,
                                  const std::vector<tLogFile*>& statLogs) {
    std::vector<std::string> paths;
    tLogFiles& logs = context_.logFiles;
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

void tGraphsPanel::chartClick(tGraphChart& chart, QPoint position, Qt::KeyboardModifiers keys) {
    const bool zoomIn = keys.testFlag(Qt::ShiftModifier);
    if (chart.isEmpty() || (!zoomIn && !keys.testFlag(Qt::ControlModifier)))
        return;
    const tPlotArea area = chart.plotArea();
    if (position.x() < area.left || position.x() > area.right)
        return;
    const tAxisRange range = chart.bottomRange();
    if (!view_.zoomAround(range.minimum, range.maximum, area.ratioAt(position.x()), zoomIn))
        return;
    showView();
    context_.redrawRequested();
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
    std::vector<const tKnownMetRecord*> candidates{knownFile(selection_.reference1),
                                                   knownFile(selection_.reference2)};
    for (const std::string& hash : selection_.files)
        if (const tKnownMetRecord* record = knownFile(hash))
            if (displayedColour(hash) && record != candidates[0] && record != candidates[1])
                candidates.push_back(record);
    tEventsEditorContext context{context_.eventsPath,
                                 {},
                                 [this](const std::string& hash) { return displayedColour(hash); },
                                 context_.prompter};
    for (const tKnownMetRecord* record : candidates)
        if (record) {
            const std::string hash = record->hash.toString();
            context.files.push_back(
                {record->getFileName(), hash, displayedColour(hash).value_or(clWindow)});
        }
    if (tEventsLogEditForm::execute(window(), context, date))
        context_.redrawRequested();
}

void tGraphsPanel::aColorsExecute() {
    if (const std::optional<tChartColours> chosen =
            tColorForm::execute(window(), colours_, context_.settings)) {
        colours_ = *chosen;
        context_.redrawRequested();
    }
}

void tGraphsPanel::aGraphOptionsExecute() {
    if (const std::optional<int> chosen =
            tGraphOptionsForm::execute(window(), context_.pointsPerPixel, context_.settings)) {
        context_.pointsPerPixel = *chosen;
        context_.redrawRequested();
    }
}

} // namespace pln
