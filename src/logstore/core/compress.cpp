#include "logstore/core/compress.h"

#include "common/error.h"
#include "logstore/core/conn_run_time.h"
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

namespace {

// A report longer than this many logs names only the first ones.
constexpr std::size_t reportedFailures = 20;

void compressLog(tLogFile& log, int thresholdDays, std::int64_t nowInstant,
                 tCompressSummary& summary) {
    log.readValues();
    if (log.recordCount() < 2 || log.valueType() > valueTypeKnownFile)
        return;
    std::vector<bool> keep = recordsToKeep(log.values(), thresholdDays, nowInstant);
    log.retainRecords(keep);
    log.writeValues(log.records());
    const std::uint64_t recordSize = recordSizeOf(log.valueType());
    ++summary.logsRewritten;
    summary.recordsBefore += keep.size();
    summary.recordsAfter += static_cast<std::size_t>(log.recordCount());
    summary.bytesBefore += keep.size() * recordSize;
    summary.bytesAfter += static_cast<std::uint64_t>(log.recordCount()) * recordSize;
}

} // namespace

std::string compressFailureReport(const std::vector<std::string>& failures) {
    std::string text = compressFailedText;
    for (std::size_t i = 0; i < failures.size() && i < reportedFailures; ++i)
        text += "\n" + failures[i];
    if (failures.size() > reportedFailures)
        text += "\n" + format(compressMoreFailedText,
                              {std::to_string(failures.size() - reportedFailures)});
    return text;
}

// Each log is written to its temporary file, made durable and put in place
// before the next is read, so the run needs free space for one log only and
// an interruption leaves at most one temporary file behind.
tCompressSummary compressLogs(tLogFiles& logs, int thresholdDays, CalendarMs now,
                              const tCompressProgress& progress) {
    tCompressSummary summary;
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
        try {
            compressLog(log, thresholdDays, nowInstant, summary);
            requestConnRunTimeWriteBack(logs);
        } catch (const Error& e) {
            summary.failures.emplace_back(e.what());
        }
        log.freeValues();
    }
    return summary;
}

} // namespace pln
