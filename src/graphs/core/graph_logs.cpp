#include "graphs/core/graph_logs.h"

#include "emulefiles/core/known_met_record.h"
#include "logstore/core/log_files.h"

#include <algorithm>

namespace pln {

namespace {

bool drawable(const tLogFile& log) {
    if (log.kind() != tLogKind::virtualLog)
        return log.recordCount() >= minRecordsToDraw;
    for (int i = 0; i < 2; ++i) {
        const tLogFile* source = log.source(i);
        if (source == nullptr || source->recordCount() < minRecordsToDraw)
            return false;
    }
    return true;
}

std::vector<const tKnownMetRecord*> knownFileCandidates(const tGraphRequest& request) {
    std::vector<const tKnownMetRecord*> candidates;
    for (const tKnownMetRecord* reference : {request.referenceFile1, request.referenceFile2})
        if (reference != nullptr)
            candidates.push_back(reference);
    for (const tKnownMetRecord* selected : request.selectedKnownFiles)
        if (selected != nullptr && selected != request.referenceFile1 &&
            selected != request.referenceFile2)
            candidates.push_back(selected);
    return candidates;
}

} // namespace

tChartId chartOf(const tLogFile& log) {
    return (log.flags() & flagShowWithRequests) != 0 ? tChartId::requests : tChartId::transferred;
}

tGraphLogs::~tGraphLogs() {
    for (tLogFile* log : loaded_)
        log->freeValues();
}

void tGraphLogs::load(tLogFile& log) {
    loaded_.push_back(&log);
    log.loadValues();
    log.workOutTotals();
}

void tGraphLogs::chooseKnownFiles(const tGraphRequest& request) {
    for (const tKnownMetRecord* record : knownFileCandidates(request)) {
        if (knownFiles_.size() == maxKnownFileSlots)
            break;
        tLogFile* log = request.logFiles->findLog(record->hash.toString());
        // Two records of one hash share a log, which is drawn once.
        if (log == nullptr || log->kind() != tLogKind::knownFile ||
            std::any_of(knownFiles_.begin(), knownFiles_.end(),
                        [log](const tChosenKnownFile& k) { return k.log == log; }))
            continue;
        load(*log);
        if (log->recordCount() >= minRecordsToDraw)
            knownFiles_.push_back({record, log});
        else
            log->freeValues();
    }
}

void tGraphLogs::chooseStatLogs(const tGraphRequest& request) {
    std::array<std::size_t, 2> perChart{};
    const tLogFile* connRunTime = request.logFiles->connRunTimeLog();
    for (tLogFile* log : request.selectedStatLogs) {
        if (perChart[0] == maxStatLogsPerChart && perChart[1] == maxStatLogsPerChart)
            break;
        if (log == nullptr || log->kind() == tLogKind::knownFile)
            continue;
        tChartId chart = chartOf(*log);
        std::size_t& count = perChart[static_cast<std::size_t>(chart)];
        if (count == maxStatLogsPerChart ||
            std::any_of(statLogs_.begin(), statLogs_.end(),
                        [log](const tChosenStatLog& s) { return s.log == log; }))
            continue;
        // The ConnRunTime log is loaded for the whole drawing already; a
        // second load would move the records the runtime mapping reads.
        if (log != connRunTime)
            load(*log);
        if (drawable(*log))
            statLogs_.push_back({log, chart, static_cast<int>(count++)});
        else if (log != connRunTime)
            log->freeValues();
    }
}

} // namespace pln
