// What the user waits for after choosing what to draw: 3 known files and 6
// stats logs of 5 years of 11-minute records are selected in the lists of
// the main window, with 1,000-pixel-wide charts, until both charts and both
// legends are rendered into images; against the core computation of the
// same drawing (logs read from disk, points computed).

#include "app/ui/graphs_panel.h"
#include "app/ui/known_files_list.h"
#include "app/ui/list_view.h"
#include "app/ui/stats_logs_list.h"
#include "emulefiles/core/known_met_codec.h"
#include "graphs/core/events_log.h"
#include "graphs/core/graph_data.h"
#include "graphs/ui/chart_view.h"
#include "graphs/ui/graph_chart.h"
#include "support/comparison.h"
#include "support/viewer_profile.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QTextEdit>
#include <benchmark/benchmark.h>

namespace {

using namespace pln;
using namespace pln::bench;

constexpr int chartWidth = 1000;
constexpr int statLogCount = 6;

std::string valueLogName(int k) {
    return "statistics.ini-statistics,Value" + std::to_string(k);
}

struct DrawingProfile : ViewerProfile {
    DrawingProfile() : ViewerProfile("drawing") {
        tKnownMetList list;
        for (std::size_t k = 0; k < 3; ++k) {
            auto record = tKnownMetRecord::createFromValues(
                "file " + std::to_string(k + 1), std::string(31, '0') + std::to_string(k + 1), 0, 0,
                0, 1, "");
            folder.write("PLN/PLN logs/" + record->hash.toString() + ".pln_on",
                         knownFileLog(fiveYearsOfRecords, k));
            std::string name = record->getFileName();
            list.append(std::move(name), std::move(record));
        }
        ByteWriter out;
        writeKnownMet(list, out);
        folder.write("eMule/config/known.met", out.take());
        settle(locations.eMuleConfigFolder + "known.met");
        folder.write("PLN/PLN logs/" + connRunTimeName + ".pln", statsLog(flagCumulative, true));
        for (int k = 0; k < statLogCount; ++k)
            folder.write("PLN/PLN logs/" + valueLogName(k) + ".pln_on",
                         statsLog(static_cast<std::uint8_t>((k % 2 ? flagShowWithRequests : 0) |
                                                            (k % 3 ? flagCumulative : 0)),
                                  false));
    }
};

// The main window on the profile, every known file listed, its charts
// 1,000 pixels wide.
struct Viewer {
    DrawingProfile profile;
    NativePlatform native;
    QuietPrompter prompter;
    std::unique_ptr<tMainForm> form = profile.open(native, prompter);

    Viewer() {
        form->show();
        form->actions().aKFShowAll->trigger();
        finishScheduledWork(*form);
        for (int tries = 0; tries < 5 && chart().width() != chartWidth; ++tries) {
            form->resize(form->width() + chartWidth - chart().width(), 800);
            QCoreApplication::processEvents();
            finishScheduledWork(*form);
        }
        if (chart().width() != chartWidth)
            throw std::runtime_error("the chart does not take the width asked for");
    }

    QWidget& chart() { return form->graphs().requestsChart().view(); }

    void select(bool all) {
        tListView& known = form->knownFilesList().view();
        tListView& stats = form->statsLogsList().view();
        known.selectionModel()->clearSelection();
        stats.selectionModel()->clearSelection();
        if (!all)
            return;
        QItemSelection files(known.model()->index(0, 0), known.model()->index(2, 0));
        known.selectionModel()->select(files,
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        tStatsLogsModel& model = form->statsLogsList().model();
        for (int row = 0; row < model.rowCount(); ++row)
            if (model.logAt(row)->name().starts_with("statistics.ini-statistics,Value"))
                stats.selectionModel()->select(model.index(row, 0), QItemSelectionModel::Select |
                                                                        QItemSelectionModel::Rows);
    }

    void renderCharts() {
        tGraphsPanel& graphs = form->graphs();
        benchmark::DoNotOptimize(graphs.requestsChart().view().grab());
        benchmark::DoNotOptimize(graphs.transferredChart().view().grab());
        for (const char* legend : {"requestsLegend", "transfersLegend"})
            benchmark::DoNotOptimize(form->findChild<QTextEdit*>(legend)->grab());
    }

    // The drawing the window asks for once the selection is made.
    tGraphResult compute() {
        tEventsLog events(eventsLogPath(form->session().locations().dataFolder));
        return computeGraphs(form->graphs().request(events));
    }
};

void BM_SelectionToPaintedCharts(benchmark::State& state) {
    Viewer viewer;
    Comparison comparison("painted", "computed");
    PeakMemory memory;
    // The first selection reads the logs from disk and works out their
    // instants, which the window keeps for later drawings, and paints the
    // charts for the first time. The computation measured below finds the
    // logs kept, so the timed selections must find them too: the first one
    // is reported on its own rather than mixed into their mean.
    Stopwatch first;
    viewer.select(true);
    finishScheduledWork(*viewer.form);
    viewer.renderCharts();
    state.counters["first_painted_ms"] = first.wallSeconds() * 1000;
    std::size_t points = 0;
    for (auto _ : state) {
        viewer.select(false);
        finishScheduledWork(*viewer.form);
        Stopwatch painting;
        viewer.select(true);
        finishScheduledWork(*viewer.form);
        viewer.renderCharts();
        state.SetIterationTime(comparison.addMeasured(painting));
        Stopwatch computing;
        tGraphResult result = viewer.compute();
        comparison.addBaseline(computing);
        points = 0;
        for (const auto& chart : result.series)
            for (const tGraphSeries& series : chart)
                points += series.points.size();
    }
    if (viewer.form->graphs().requestsChart().points(1).isEmpty())
        throw std::runtime_error("the charts show nothing");
    state.counters["points"] = static_cast<double>(points);
    comparison.report(state, memory);
}
BENCHMARK(BM_SelectionToPaintedCharts)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
