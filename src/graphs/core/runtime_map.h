#pragma once

#include "logstore/core/dos_date_time.h"
#include "logstore/core/log_records.h"

#include <cstddef>
#include <cstdint>

namespace pln {

class tLogFiles;

// The mapping between log times and eMule's running seconds, read from the
// records of the ConnRunTime log (date, 32-bit running seconds, values not
// decreasing). Both directions answer -1 when there are no records.
class tRuntimeMap {
public:
    tRuntimeMap() : records_({}, valueTypeInteger) {}
    explicit tRuntimeMap(tLogRecords records) : records_(records) {}

    bool empty() const { return records_.count() == 0; }
    std::size_t count() const { return records_.count(); }

    // The running seconds at a time: the value of the first record of that
    // time; before the first record the first value; from the second-to-last
    // record on the last value; otherwise interpolated between the records
    // around it, rounded to the nearest second with halves to even.
    std::int64_t runtimeAtDate(dosDateTime time) const;
    // The time of the first record whose running seconds reach the value,
    // or of the last record.
    std::int64_t dateAtRuntime(std::int64_t runtime) const;

    // runtimeAtDate with p, the index of the first record not before the
    // time, already known.
    std::int64_t runtimeAt(dosDateTime time, std::size_t p) const;
    const tLogRecords& records() const { return records_; }

private:
    tLogRecords records_;
};

// runtimeAtDate for times that mostly move forward, as when the records of
// a log are visited in order: the search goes on from the last answer
// instead of starting over. Answers equal those of the map for records in
// time order.
class tRuntimeCursor {
public:
    explicit tRuntimeCursor(const tRuntimeMap& map) : map_(map) {}
    std::int64_t runtimeAtDate(dosDateTime time);

private:
    const tRuntimeMap& map_;
    std::size_t position_ = 0;
    dosDateTime last_ = 0;
};

// The mapping of the catalogue's ConnRunTime log as it is loaded now; the
// log must stay loaded while the map is used. Empty without that log.
tRuntimeMap runtimeMapOf(const tLogFiles& logFiles);
std::int64_t runtimeAtDate(const tLogFiles& logFiles, dosDateTime time);
std::int64_t dateAtRuntime(const tLogFiles& logFiles, std::int64_t runtime);

} // namespace pln
