#include "logstore/core/compress.h"

#include "common/error.h"
#include "logstore/core/log_files.h"
#include "logstore/core/log_messages.h"
#include "logstore/core/record_instants.h"
#include "platform/locked_file.h"

#include <algorithm>
#include <cstdlib>

namespace pln {

namespace {

constexpr std::int64_t secondsPerDay = 86'400;

std::int64_t distance(std::int64_t a, std::int64_t b) {
    return a > b ? a - b : b - a;
}

// The number of whole periods in an age; the division is redone only when
// the age leaves the period of the previous record, which in a log sorted
// by date happens once per period.
class PeriodCounter {
public:
    explicit PeriodCounter(std::int64_t period) : period_(period) {}
    std::int64_t operator()(std::int64_t age) {
        if (age < low_ || age >= low_ + period_) {
            periods_ = age / period_;
            low_ = periods_ * period_;
        }
        return periods_;
    }

private:
    std::int64_t period_;
    std::int64_t periods_ = 0;
    std::int64_t low_ = 0;
};

} // namespace

std::vector<bool> recordsToKeep(const tLogRecords& records, int thresholdDays,
                                std::int64_t nowInstant) {
    PeriodCounter periodsOf(std::int64_t{std::max(thresholdDays, 1)} * secondsPerDay);
    std::vector<bool> keep(records.count(), false);
    std::int64_t lastKept = nowInstant;
    for (std::size_t i = records.count(); i-- > 0;) {
        std::int64_t t = records.instant(i);
        std::int64_t periods = periodsOf(distance(nowInstant, t));
        std::int64_t gap = distance(lastKept, t);
        if (periods * baseSpacingSeconds > gap && gap < largestSpacingSeconds)
            continue;
        keep[i] = true;
        lastKept = t;
    }
    return keep;
}

// Every log's new file is written first and all are made durable together;
// only then does each replace its log. Memory still holds one log at a time.
tCompressSummary compressLogs(tLogFiles& logs, int thresholdDays, CalendarMs now,
                              const tCompressProgress& progress) {
    tCompressSummary summary;
    FileReplacementBatch batch;
    struct Staged {
        tLogFile* log;
        std::size_t before, after;
    };
    std::vector<Staged> staged;
    std::size_t done = 0;
    // Now as the most recent instant the reading can stand for.
    const std::int64_t nowInstant = tLocalTimeZone(logs.context().clock).instantsOf(now).later;
    for (const auto& entry : logs.logs()) {
        if (progress)
            progress(done++, logs.count());
        tLogFile& log = *entry;
        // A combined log has no records; loading it would only load its sources.
        if (log.kind() == tLogKind::virtualLog)
            continue;
        log.loadValues();
        if (log.recordCount() >= 2 && log.valueType() <= valueTypeKnownFile) {
            std::vector<bool> keep = recordsToKeep(log.values(), thresholdDays, nowInstant);
            log.retainRecords(keep);
            if (log.stageValues(log.records(), batch))
                staged.push_back({&log, keep.size(), static_cast<std::size_t>(log.recordCount())});
        }
        log.freeValues();
    }
    try {
        batch.flush();
    } catch (const Error& e) {
        for (const Staged& s : staged)
            logs.context().prompter.showError(
                format(logmsg::cannotSave, {s.log->name(), e.what()}));
        return summary;
    }
    for (const Staged& s : staged) {
        if (s.log->commitValues(batch)) {
            ++summary.logsRewritten;
            summary.recordsBefore += s.before;
            summary.recordsAfter += s.after;
        }
    }
    return summary;
}

} // namespace pln
