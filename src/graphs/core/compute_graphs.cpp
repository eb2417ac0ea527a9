#include "common/text.h"
#include "emulefiles/core/known_met_record.h"
#include "graphs/core/bucket_walk.h"
#include "graphs/core/events_log.h"
#include "graphs/core/graph_data.h"
#include "graphs/core/graph_logs.h"
#include "graphs/core/graph_values.h"
#include "graphs/core/graph_window.h"
#include "graphs/core/runtime_map.h"
#include "logstore/core/conn_run_time.h"
#include "logstore/core/log_files.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace pln {

namespace {

constexpr double secondsPerDay = 86400;
constexpr int firstRequestsInifile = 7;
constexpr int firstTransferredInifile = 4;

// One drawing: the request, its logs, the axis and the result being built.
class tDrawing {
public:
    tDrawing(const tGraphRequest& request, tGraphLogs& logs)
        : request_(request), logs_(logs),
          clock_(request.logFiles ? request.logFiles->context().clock : nullptr) {}

    tGraphResult run();

private:
    void clearGraphs(bool runtimeAxis);
    void chooseLogs();
    std::optional<tTimeRange> computeTimeRange() const;
    tRecordTimes timesOf(const tLogRecords& records) const {
        return tRecordTimes(records, result_.runtimeAxis ? &map_ : nullptr);
    }
    void plotKnownFile(const tChosenKnownFile& file, int slot);
    void plotStatLog(const tChosenStatLog& stat);
    bool dormant(const tLogRecords& records, const tBucket& bucket) const;
    void addPoint(tChartId chart, int index, std::size_t sample, double y);
    void plotEventMarkers();
    bool isDrawn(const std::string& hash) const;

    const tGraphRequest& request_;
    tGraphLogs& logs_;
    Clock* clock_;
    tRuntimeMap map_;
    tGraphWindow window_;
    tGraphResult result_;
};

tGraphResult tDrawing::run() {
    tLogFiles* logFiles = request_.logFiles;
    if (logFiles == nullptr || logFiles->count() == 0 || !request_.knownMetLoaded) {
        clearGraphs(request_.runtimeAxis);
        return result_;
    }
    if (tLogFile* connRunTime = logFiles->connRunTimeLog()) {
        logs_.load(*connRunTime);
        map_ = tRuntimeMap(connRunTime->values(), clock_);
    }
    bool runtimeAxis = request_.runtimeAxis && !map_.empty();
    result_.runtimeAxisUnavailable = request_.runtimeAxis && !runtimeAxis;
    clearGraphs(runtimeAxis);
    chooseLogs();
    requestConnRunTimeWriteBack(*logFiles);
    std::optional<tTimeRange> range = computeTimeRange();
    if (!range)
        return result_;
    window_ = computeGraphWindow(*range, request_.zoom, request_.scroll, request_.chartWidth,
                                 request_.pointsPerPixel, clock_);
    result_.zoomBarMaximum = window_.zoomBarMaximum;
    for (std::size_t k = 0; k < logs_.knownFiles().size(); ++k)
        plotKnownFile(logs_.knownFiles()[k], static_cast<int>(k) + 1);
    for (const tChosenStatLog& stat : logs_.statLogs())
        plotStatLog(stat);
    result_.bottomMin = window_.xs.front();
    result_.bottomMax = window_.xs.back();
    plotEventMarkers();
    return result_;
}

void tDrawing::clearGraphs(bool runtimeAxis) {
    result_.runtimeAxis = runtimeAxis;
    result_.bottomAxisTitle = runtimeAxis ? "eMule runtime days" : "Real date";
    tRequestsColours requestsColours = request_.colours.requestsColours();
    for (std::size_t i = 0; i < requestsSeriesCount; ++i)
        result_.series[0].push_back({tChartId::requests,
                                     static_cast<int>(i),
                                     seriesTitle(tChartId::requests, static_cast<int>(i)),
                                     requestsColours[i],
                                     {}});
    for (std::size_t i = 0; i < transferredSeriesCount; ++i)
        result_.series[1].push_back({tChartId::transferred,
                                     static_cast<int>(i),
                                     seriesTitle(tChartId::transferred, static_cast<int>(i)),
                                     request_.colours.slotColours[i],
                                     {}});
}

void tDrawing::chooseLogs() {
    logs_.chooseKnownFiles(request_);
    for (std::size_t k = 0; k < logs_.knownFiles().size(); ++k) {
        const tChosenKnownFile& file = logs_.knownFiles()[k];
        int slot = static_cast<int>(k) + 1;
        tColour base = result_.at(tChartId::transferred, slot).colour;
        tColour requested = result_.at(tChartId::requests, 2 * slot - 1).colour;
        tColour accepted = result_.at(tChartId::requests, 2 * slot).colour;
        std::string name = file.record->getFileName();
        result_.drawnKnownFiles.push_back({file.record->hash.toString(), slot, base});
        result_.requestsLegend.insert(result_.requestsLegend.end(),
                                      {{base, "\"" + name + "\" ("},
                                       {requested, "Requests / hour"},
                                       {base, "; "},
                                       {accepted, "Accepted requests / hour"},
                                       {base, ")\r\n"}});
        result_.transfersLegend.push_back({base, "\"" + name + "\" (Uploaded in kBytes/sec)\r\n"});
    }
    logs_.chooseStatLogs(request_);
    for (const tChosenStatLog& stat : logs_.statLogs()) {
        bool requests = stat.chart == tChartId::requests;
        int index = stat.position + (requests ? firstRequestsInifile : firstTransferredInifile);
        tColour colour = result_.at(stat.chart, index).colour;
        result_.drawnStatLogs.push_back({stat.log->name(), stat.chart, stat.position, colour});
        (requests ? result_.requestsLegend : result_.transfersLegend)
            .push_back({colour, stat.log->displayName() + " (" + stat.log->units() + ")\r\n"});
    }
}

std::optional<tTimeRange> tDrawing::computeTimeRange() const {
    // Instants never decrease, so a log's first and last records bound it,
    // even when a clock set back made its last stamp earlier than its first.
    std::optional<std::int64_t> first, last;
    auto widen = [&](const tLogFile& log) {
        tLogRecords records = log.values();
        std::int64_t front = records.instant(0), back = records.instant(records.count() - 1);
        first = std::min(first.value_or(front), front);
        last = std::max(last.value_or(back), back);
    };
    for (const tChosenKnownFile& file : logs_.knownFiles())
        widen(*file.log);
    if (logs_.knownFiles().empty())
        for (const tChosenStatLog& stat : logs_.statLogs()) {
            if (stat.log->kind() != tLogKind::virtualLog)
                widen(*stat.log);
            else
                for (int i = 0; i < 2; ++i)
                    widen(*stat.log->source(i));
        }
    if (!first)
        return std::nullopt;
    if (result_.runtimeAxis) {
        first = std::max(*first, map_.instant(0));
        last = std::min(*last, map_.instant(map_.count() - 1));
    }
    // Logs wholly outside the ConnRunTime log's coverage leave no range.
    if (*first > *last)
        return std::nullopt;
    if (result_.runtimeAxis)
        return tTimeRange{true, map_.runtimeAtInstant(*first), map_.runtimeAtInstant(*last)};
    return tTimeRange{false, *first, *last};
}

// The real seconds of a bucket on either axis; the walk makes it positive.
double bucketSeconds(const tBucket& bucket) {
    return static_cast<double>(bucket.eTime - bucket.jTime);
}

void tDrawing::addPoint(tChartId chart, int index, std::size_t sample, double y) {
    // A value that is missing or beyond any scale leaves a gap.
    if (!std::isfinite(y))
        return;
    result_.series[static_cast<std::size_t>(chart)][static_cast<std::size_t>(index)]
        .points.push_back({window_.xs[sample], y});
}

void tDrawing::plotKnownFile(const tChosenKnownFile& file, int slot) {
    tRecordTimes times = timesOf(file.log->values());
    const tLogRecords& records = times.records();
    tRecordTimes* logs[] = {&times};
    walkBuckets(logs, window_.samples, [&](std::size_t i, std::span<const tBucket> buckets) {
        const tBucket& b = buckets[0];
        double seconds = bucketSeconds(b);
        tKnownFileIncrease increase = knownFileIncrease(records, b.j, b.e);
        addPoint(tChartId::requests, 2 * slot - 1, i, increase.requests * 3600 / seconds);
        addPoint(tChartId::requests, 2 * slot, i, increase.accepted * 3600 / seconds);
        addPoint(tChartId::transferred, slot, i, increase.transferred / seconds / 1024);
    });
}

// Only where the ConnRunTime log recorded both ends can it tell that eMule
// was not running; outside its span the value is drawn as it is.
bool tDrawing::dormant(const tLogRecords& records, const tBucket& bucket) const {
    if (result_.runtimeAxis)
        return false;
    std::int64_t from = records.instant(bucket.j), to = records.instant(bucket.e);
    if (!map_.covers(from) || !map_.covers(to))
        return false;
    std::int64_t ran = map_.runtimeAtInstant(to) - map_.runtimeAtInstant(from);
    return 2 * ran < to - from;
}

void tDrawing::plotStatLog(const tChosenStatLog& stat) {
    const tLogFile& log = *stat.log;
    bool combined = log.kind() == tLogKind::virtualLog;
    std::vector<const tLogFile*> sources;
    if (combined)
        sources = {log.source(0), log.source(1)};
    else
        sources = {&log};
    std::vector<tRecordTimes> times;
    std::vector<tRecordTimes*> walked;
    times.reserve(sources.size());
    walked.reserve(sources.size());
    for (const tLogFile* source : sources)
        times.push_back(timesOf(source->values()));
    for (tRecordTimes& t : times)
        walked.push_back(&t);
    int index = stat.position +
                (stat.chart == tChartId::requests ? firstRequestsInifile : firstTransferredInifile);
    walkBuckets(walked, window_.samples, [&](std::size_t i, std::span<const tBucket> buckets) {
        std::array<double, 2> values{};
        for (std::size_t k = 0; k < sources.size(); ++k) {
            double seconds = bucketSeconds(buckets[k]);
            bool keepsValue = (sources[k]->flags() & flagSavedWhenChanged) != 0;
            const tLogRecords& records = times[k].records();
            values[k] =
                statValue(records, sources[k]->flags(), sources[k]->multiplier(), buckets[k].j,
                          buckets[k].e, seconds, !keepsValue && dormant(records, buckets[k]));
        }
        if (!combined) {
            addPoint(stat.chart, index, i, values[0]);
            return;
        }
        bool firstKeepsValue = (sources[0]->flags() & flagSavedWhenChanged) != 0;
        double value = !firstKeepsValue && dormant(times[0].records(), buckets[0])
                           ? 0.0
                           : combineValues(log.operation(), values[0], values[1]);
        value *= log.multiplier();
        if (!std::isnan(log.maxValue()) && value > log.maxValue())
            value = log.maxValue();
        addPoint(stat.chart, index, i, value);
    });
}

bool tDrawing::isDrawn(const std::string& hash) const {
    return std::any_of(result_.drawnKnownFiles.begin(), result_.drawnKnownFiles.end(),
                       [&hash](const tDrawnKnownFile& f) { return iequals(f.hash, hash); });
}

void tDrawing::plotEventMarkers() {
    if (request_.events == nullptr)
        return;
    auto calendarOf = [this](std::int64_t sample) {
        if (result_.runtimeAxis)
            return dosDateTimeToCalendar(static_cast<dosDateTime>(map_.dateAtRuntime(sample)));
        return clock_ ? clock_->toLocalCalendar(sample * 1000)
                      : unixEpochCalendarMs + sample * 1000;
    };
    CalendarMs from = calendarOf(window_.samples.front());
    CalendarMs to = calendarOf(window_.samples.back());
    const tEventsLog& events = *request_.events;
    for (std::size_t i = events.search(from); i < events.count() && events.date(i) <= to; ++i) {
        std::string hash = events.hash(i);
        if (!hash.empty() && !isDrawn(hash))
            continue;
        double x = static_cast<double>(events.date(i)) / msPerDay;
        if (result_.runtimeAxis)
            x = static_cast<double>(map_.runtimeAtLocal(events.date(i))) / secondsPerDay;
        for (auto& series : result_.series)
            series[0].points.push_back({x, 1.0});
    }
}

} // namespace

tGraphResult computeGraphs(const tGraphRequest& request) {
    tGraphLogs logs;
    return tDrawing(request, logs).run();
}

} // namespace pln
