#include "common/text.h"
#include "emulefiles/core/known_met_record.h"
#include "graphs/core/bucket_walk.h"
#include "graphs/core/events_log.h"
#include "graphs/core/graph_data.h"
#include "graphs/core/graph_logs.h"
#include "graphs/core/graph_values.h"
#include "graphs/core/graph_window.h"
#include "graphs/core/runtime_map.h"
#include "logstore/core/log_files.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace pln {

namespace {

constexpr double secondsPerDay = 86400;
constexpr int firstRequestsInifile = 7;
constexpr int firstTransferredInifile = 4;

std::int64_t secondsBetween(dosDateTime a, dosDateTime b) {
    return wholeSecondsBetween(dosDateTimeToCalendar(a), dosDateTimeToCalendar(b));
}

// One drawing: the request, its logs, the axis and the result being built.
class tDrawing {
public:
    tDrawing(const tGraphRequest& request, tGraphLogs& logs) : request_(request), logs_(logs) {}

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
    double bucketSeconds(const tLogRecords& records, const tBucket& bucket) const;
    void addPoint(tChartId chart, int index, std::size_t sample, double y);
    void plotEventMarkers();
    bool isDrawn(const std::string& hash) const;

    const tGraphRequest& request_;
    tGraphLogs& logs_;
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
        map_ = tRuntimeMap(connRunTime->values());
    }
    bool runtimeAxis = request_.runtimeAxis && !map_.empty();
    result_.runtimeAxisUnavailable = request_.runtimeAxis && !runtimeAxis;
    clearGraphs(runtimeAxis);
    chooseLogs();
    std::optional<tTimeRange> range = computeTimeRange();
    if (!range)
        return result_;
    window_ = computeGraphWindow(*range, request_.zoom, request_.scroll, request_.chartWidth,
                                 request_.pointsPerPixel);
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
    std::optional<dosDateTime> first, last;
    auto widen = [&](const tLogFile& log) {
        tLogRecords records = log.values();
        first = std::min(first.value_or(records.stamp(0)), records.stamp(0));
        last = std::max(last.value_or(0), records.stamp(records.count() - 1));
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
        first = std::max(*first, map_.stamp(0));
        last = std::min(*last, map_.stamp(map_.count() - 1));
    }
    // Logs wholly outside the ConnRunTime log's coverage leave no range.
    if (*first > *last)
        return std::nullopt;
    if (result_.runtimeAxis)
        return tTimeRange{true, map_.runtimeAtDate(*first), map_.runtimeAtDate(*last)};
    return tTimeRange{false, dosDateTimeToCalendar(*first), dosDateTimeToCalendar(*last)};
}

double tDrawing::bucketSeconds(const tLogRecords& records, const tBucket& bucket) const {
    if (result_.runtimeAxis)
        return static_cast<double>(bucket.eTime - bucket.jTime);
    return static_cast<double>(secondsBetween(records.stamp(bucket.j), records.stamp(bucket.e)));
}

void tDrawing::addPoint(tChartId chart, int index, std::size_t sample, double y) {
    // A value that is missing or beyond any scale leaves a gap.
    if (!std::isfinite(y))
        return;
    result_.series[static_cast<std::size_t>(chart)][static_cast<std::size_t>(index)]
        .points.push_back({window_.xs[sample], y});
}

void tDrawing::plotKnownFile(const tChosenKnownFile& file, int slot) {
    tLogRecords records = file.log->values();
    tRecordTimes times = timesOf(records);
    tRecordTimes* logs[] = {&times};
    walkBuckets(logs, window_.samples, [&](std::size_t i, std::span<const tBucket> buckets) {
        const tBucket& b = buckets[0];
        double seconds = bucketSeconds(records, b);
        // Stamps with fields out of range can name one moment twice.
        if (seconds <= 0)
            return;
        tKnownFileValues a = records.knownFileValues(b.j), e = records.knownFileValues(b.e);
        auto increase32 = [](std::uint32_t from, std::uint32_t to) {
            return static_cast<double>(from > to ? to : to - from);
        };
        addPoint(tChartId::requests, 2 * slot - 1, i,
                 increase32(a.requests, e.requests) * 3600 / seconds);
        addPoint(tChartId::requests, 2 * slot, i,
                 increase32(a.accepted, e.accepted) * 3600 / seconds);
        addPoint(tChartId::transferred, slot, i,
                 counterIncrease(static_cast<std::int64_t>(a.transferred),
                                 static_cast<std::int64_t>(e.transferred)) /
                     seconds / 1024);
    });
}

bool tDrawing::dormant(const tLogRecords& records, const tBucket& bucket) const {
    if (result_.runtimeAxis || map_.empty())
        return false;
    std::int64_t ran =
        map_.runtimeAtDate(records.stamp(bucket.e)) - map_.runtimeAtDate(records.stamp(bucket.j));
    return 2 * ran < secondsBetween(records.stamp(bucket.j), records.stamp(bucket.e));
}

void tDrawing::plotStatLog(const tChosenStatLog& stat) {
    const tLogFile& log = *stat.log;
    bool combined = log.kind() == tLogKind::virtualLog;
    std::vector<const tLogFile*> sources;
    if (combined)
        sources = {log.source(0), log.source(1)};
    else
        sources = {&log};
    std::vector<tLogRecords> records;
    std::vector<tRecordTimes> times;
    std::vector<tRecordTimes*> walked;
    for (const tLogFile* source : sources) {
        records.push_back(source->values());
        times.push_back(timesOf(records.back()));
    }
    for (tRecordTimes& t : times)
        walked.push_back(&t);
    int index = stat.position +
                (stat.chart == tChartId::requests ? firstRequestsInifile : firstTransferredInifile);
    walkBuckets(walked, window_.samples, [&](std::size_t i, std::span<const tBucket> buckets) {
        std::vector<double> values;
        for (std::size_t k = 0; k < sources.size(); ++k) {
            double seconds = bucketSeconds(records[k], buckets[k]);
            if (seconds <= 0)
                return;
            bool keepsValue = (sources[k]->flags() & flagSavedWhenChanged) != 0;
            values.push_back(statValue(records[k], sources[k]->flags(), sources[k]->multiplier(),
                                       buckets[k].j, buckets[k].e, seconds,
                                       !keepsValue && dormant(records[k], buckets[k])));
        }
        if (!combined) {
            addPoint(stat.chart, index, i, values[0]);
            return;
        }
        bool firstKeepsValue = (sources[0]->flags() & flagSavedWhenChanged) != 0;
        double value = !firstKeepsValue && dormant(records[0], buckets[0])
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
            sample = map_.dateAtRuntime(sample);
        return dosDateTimeToCalendar(static_cast<dosDateTime>(sample));
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
            x = static_cast<double>(map_.runtimeAtDate(calendarToDosDateTime(events.date(i)))) /
                secondsPerDay;
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
