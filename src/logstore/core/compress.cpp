#include "logstore/core/compress.h"

#include "common/error.h"
#include "logstore/core/log_files.h"
#include "logstore/core/log_messages.h"
#include "platform/locked_file.h"

#include <algorithm>
#include <cstdlib>

namespace pln {

namespace {

// Converts the stamps of consecutive records, which mostly share their day,
// without redoing the calendar arithmetic for every record.
class StampConverter {
public:
    CalendarMs operator()(dosDateTime stamp) {
        dosDateTime dayBits = stamp & 0xFFFF0000u;
        if (dayBits != dayBits_ || !valid_) {
            dayBits_ = dayBits;
            dayStart_ = dosDateToCalendar(stamp);
            valid_ = true;
        }
        return dayStart_ + dosTimeOfDayMs(stamp);
    }

private:
    dosDateTime dayBits_ = 0;
    CalendarMs dayStart_ = 0;
    bool valid_ = false;
};

std::int64_t distanceMs(CalendarMs a, CalendarMs b) {
    return a > b ? a - b : b - a;
}

// The number of whole periods in an age; the division is redone only when
// the age leaves the period of the previous record, which in a log sorted
// by date happens once per period.
class PeriodCounter {
public:
    explicit PeriodCounter(std::int64_t periodMs) : periodMs_(periodMs) {}
    std::int64_t operator()(std::int64_t ageMs) {
        if (ageMs < low_ || ageMs >= low_ + periodMs_) {
            periods_ = ageMs / periodMs_;
            low_ = periods_ * periodMs_;
        }
        return periods_;
    }

private:
    std::int64_t periodMs_;
    std::int64_t periods_ = 0;
    std::int64_t low_ = 0;
};

} // namespace

// Whole seconds of an age divided by whole seconds of a period equals the
// milliseconds of both divided, so the periods are counted in milliseconds.
std::vector<bool> recordsToKeep(const tLogRecords& records, int thresholdDays, CalendarMs now) {
    PeriodCounter periodsOf(std::int64_t{std::max(thresholdDays, 1)} * msPerDay);
    std::vector<bool> keep(records.count(), false);
    StampConverter toCalendar;
    CalendarMs lastKept = now;
    for (std::size_t i = records.count(); i-- > 0;) {
        CalendarMs t = toCalendar(records.stamp(i));
        std::int64_t periods = periodsOf(distanceMs(now, t));
        std::int64_t gap = distanceMs(lastKept, t) / 1000;
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
    for (const auto& entry : logs.logs()) {
        if (progress)
            progress(done++, logs.count());
        tLogFile& log = *entry;
        // A combined log has no records; loading it would only load its sources.
        if (log.kind() == tLogKind::virtualLog)
            continue;
        log.loadValues();
        if (log.recordCount() >= 2 && log.valueType() <= valueTypeKnownFile) {
            std::vector<bool> keep = recordsToKeep(log.values(), thresholdDays, now);
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
