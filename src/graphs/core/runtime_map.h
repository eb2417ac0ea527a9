#pragma once

#include "logstore/core/dos_date_time.h"
#include "logstore/core/log_records.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pln {

class tLogFiles;

// The whole seconds between two moments, exactly (truncated).
inline std::int64_t wholeSecondsBetween(CalendarMs a, CalendarMs b) {
    return (a > b ? a - b : b - a) / 1000;
}

// The mapping between log times and eMule's running seconds, read from the
// records of the ConnRunTime log (date, 32-bit running seconds, values not
// decreasing). Both directions answer -1 when there are no records. The map
// keeps its own copy of the records, so the log may be unloaded after.
class tRuntimeMap {
public:
    tRuntimeMap() = default;
    explicit tRuntimeMap(const tLogRecords& records);

    bool empty() const { return records_.empty(); }
    std::size_t count() const { return records_.size(); }
    dosDateTime stamp(std::size_t index) const { return records_[index].stamp; }
    std::int64_t value(std::size_t index) const { return records_[index].value; }

    // The running seconds at a time: the value of the first record of that
    // time; before the first record the first value; from the second-to-last
    // record on the last value; otherwise interpolated between the records
    // around it, rounded to the nearest second with halves to even.
    std::int64_t runtimeAtDate(dosDateTime time) const;
    // The time of the first record whose running seconds reach the value,
    // or of the last record.
    std::int64_t dateAtRuntime(std::int64_t runtime) const;

    // Where the last of a series of lookups ended.
    struct tSearch {
        std::size_t position = 0;
        dosDateTime previous = 0;
    };
    // runtimeAtDate for the records of a log in turn: the search moves
    // forward from the previous answer, as records come in time order; an
    // earlier time starts it over.
    std::int64_t runtimeAtDate(dosDateTime time, tSearch& search) const;

    // runtimeAtDate with p, the index of the first record not before the
    // time, already known.
    std::int64_t runtimeAt(dosDateTime time, std::size_t p) const;
    // The index of the first record not before the time, from index from on.
    std::size_t lowerBound(dosDateTime time, std::size_t from = 0) const;

private:
    // Further than this, the next answer is searched rather than walked to.
    static constexpr std::size_t gallopDistance = 8;

    // Stamp and running seconds side by side: a drawing reads them together
    // once per log it draws. Running seconds are 32-bit values; a wider log
    // value is bounded.
    struct tEntry {
        dosDateTime stamp;
        std::int32_t value;
    };
    std::vector<tEntry> records_;
};

inline std::int64_t tRuntimeMap::runtimeAtDate(dosDateTime time, tSearch& search) const {
    const std::size_t n = records_.size();
    const tEntry* entries = records_.data();
    std::size_t p = search.position;
    if (time < search.previous) {
        p = lowerBound(time);
    } else if (p + gallopDistance < n && entries[p + gallopDistance].stamp < time) {
        p = lowerBound(time, p + gallopDistance);
    } else {
        while (p < n && entries[p].stamp < time)
            ++p;
    }
    search = {p, time};
    // Logs are written at the ConnRunTime log's own times: the usual answer.
    return p < n && entries[p].stamp == time ? entries[p].value : runtimeAt(time, p);
}

// The mapping of the catalogue's ConnRunTime log as it is loaded now; the
// log must stay loaded while the map is used. Empty without that log.
tRuntimeMap runtimeMapOf(const tLogFiles& logFiles);
std::int64_t runtimeAtDate(const tLogFiles& logFiles, dosDateTime time);
std::int64_t dateAtRuntime(const tLogFiles& logFiles, std::int64_t runtime);

} // namespace pln
