#pragma once

#include "logstore/core/dos_date_time.h"
#include "logstore/core/log_records.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pln {

class tLogFiles;

// The mapping between log times and eMule's running seconds, read from the
// records of the ConnRunTime log (date, 32-bit running seconds, values not
// decreasing). Times are the records' instants (seconds since 1970 UTC, not
// decreasing, worked out when the log was loaded), so every lookup is a
// plain search. Both directions answer -1 when there are no records. The
// map keeps its own copy of the records, so the log may be unloaded after.
class tRuntimeMap {
public:
    tRuntimeMap() = default;
    // The clock's time-zone rules turn local readings into instants for
    // runtimeAtLocal; without one they are read as UTC.
    explicit tRuntimeMap(const tLogRecords& records, Clock* clock = nullptr);

    bool empty() const { return records_.empty(); }
    // Whether the running seconds never decrease, as a corrected ConnRunTime
    // log's do: then neither do the runtimes of later instants.
    bool nonDecreasing() const { return nonDecreasing_; }
    std::size_t count() const { return records_.size(); }
    dosDateTime stamp(std::size_t index) const { return records_[index].stamp; }
    std::int64_t instant(std::size_t index) const { return records_[index].instant; }
    std::int64_t value(std::size_t index) const { return records_[index].value; }
    // Whether an instant lies within the span the log recorded.
    bool covers(std::int64_t instant) const {
        return !empty() && records_.front().instant <= instant &&
               instant <= records_.back().instant;
    }

    // The running seconds at an instant: the value of the first record of
    // that instant; before the first record the first value; from the
    // second-to-last record on the last value; otherwise interpolated
    // between the records around it by the real seconds elapsed, rounded to
    // the nearest second with halves to even.
    std::int64_t runtimeAtInstant(std::int64_t instant) const;
    // The same for a local reading (a typed or shown date), taken as the
    // earlier instant it can stand for.
    std::int64_t runtimeAtLocal(CalendarMs local) const;
    // The index of the first record whose running seconds exceed the value,
    // for running seconds that never decrease; count() when none does.
    std::size_t firstPast(std::int64_t runtime) const {
        return static_cast<std::size_t>(
            std::upper_bound(records_.begin(), records_.end(), runtime,
                             [](std::int64_t r, const tEntry& entry) { return r < entry.value; }) -
            records_.begin());
    }
    // The stamp of the first record whose running seconds reach the value,
    // or of the last record.
    std::int64_t dateAtRuntime(std::int64_t runtime) const;

    // Where the last of a series of lookups ended.
    struct tSearch {
        std::size_t position = 0;
        std::int64_t previous = INT64_MIN;
    };
    // runtimeAtInstant for the records of a log in turn: the search moves
    // forward from the previous answer, as instants never decrease; an
    // earlier instant starts it over.
    std::int64_t runtimeAtInstant(std::int64_t instant, tSearch& search) const;

    // runtimeAtInstant with p, the index of the first record not before the
    // instant, already known.
    std::int64_t runtimeAt(std::int64_t instant, std::size_t p) const;
    // The index of the first record not before the instant, from index from on.
    std::size_t lowerBound(std::int64_t instant, std::size_t from = 0) const;

private:
    // Further than this, the next answer is searched rather than walked to.
    static constexpr std::size_t gallopDistance = 8;

    // Instant and running seconds side by side: a drawing reads them
    // together once per log it draws. Running seconds are 32-bit values; a
    // wider log value is bounded.
    struct tEntry {
        std::int64_t instant;
        dosDateTime stamp;
        std::int32_t value;
    };
    std::vector<tEntry> records_;
    bool nonDecreasing_ = true;
    Clock* clock_ = nullptr;
};

inline std::int64_t tRuntimeMap::runtimeAtInstant(std::int64_t instant, tSearch& search) const {
    const std::size_t n = records_.size();
    const tEntry* entries = records_.data();
    std::size_t p = search.position;
    if (instant < search.previous) {
        p = lowerBound(instant);
    } else if (p + gallopDistance < n && entries[p + gallopDistance].instant < instant) {
        p = lowerBound(instant, p + gallopDistance);
    } else {
        while (p < n && entries[p].instant < instant)
            ++p;
    }
    search = {p, instant};
    // Logs are written at the ConnRunTime log's own times: the usual answer.
    return p < n && entries[p].instant == instant ? entries[p].value : runtimeAt(instant, p);
}

// The mapping of the catalogue's ConnRunTime log as it is loaded now; the
// log must stay loaded while the map is used. Empty without that log.
tRuntimeMap runtimeMapOf(const tLogFiles& logFiles);

} // namespace pln
