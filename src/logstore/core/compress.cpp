#include "logstore/core/compress.h"

#include "logstore/core/log_files.h"

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

std::int64_t wholeSecondsBetween(CalendarMs a, CalendarMs b) {
    return std::llabs(a - b) / 1000;
}

} // namespace

std::vector<bool> recordsToKeep(const tLogRecords& records, int thresholdDays, CalendarMs now) {
    const std::int64_t period = std::int64_t{std::max(thresholdDays, 1)} * 86'400;
    std::vector<bool> keep(records.count(), false);
    StampConverter toCalendar;
    CalendarMs lastKept = now;
    for (std::size_t i = records.count(); i-- > 0;) {
        CalendarMs t = toCalendar(records.stamp(i));
        std::int64_t periods = wholeSecondsBetween(now, t) / period;
        std::int64_t gap = wholeSecondsBetween(lastKept, t);
        if (periods * baseSpacingSeconds > gap && gap < largestSpacingSeconds)
            continue;
        keep[i] = true;
        lastKept = t;
    }
    return keep;
}

tCompressSummary compressLogs(tLogFiles& logs, int thresholdDays, CalendarMs now) {
    tCompressSummary summary;
    for (const auto& entry : logs.logs()) {
        tLogFile& log = *entry;
        log.loadValues();
        if (log.recordCount() >= 2 && log.valueType() <= valueTypeKnownFile) {
            tLogRecords records = log.values();
            std::vector<bool> keep = recordsToKeep(records, thresholdDays, now);
            std::vector<std::uint8_t> kept;
            kept.reserve(records.count() * records.recordSize());
            auto bytes = log.records();
            for (std::size_t i = 0; i < records.count(); ++i)
                if (keep[i])
                    kept.insert(kept.end(),
                                bytes.begin() +
                                    static_cast<std::ptrdiff_t>(i * records.recordSize()),
                                bytes.begin() +
                                    static_cast<std::ptrdiff_t>((i + 1) * records.recordSize()));
            if (log.replaceValues(kept)) {
                ++summary.logsRewritten;
                summary.recordsBefore += records.count();
                summary.recordsAfter +=
                    static_cast<std::size_t>(std::count(keep.begin(), keep.end(), true));
            }
        }
        log.freeValues();
    }
    return summary;
}

} // namespace pln
