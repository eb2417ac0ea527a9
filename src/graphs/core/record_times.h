#pragma once

#include "graphs/core/runtime_map.h"
#include "logstore/core/log_records.h"

#include <cstddef>
#include <cstdint>

namespace pln {

// The times of one log's records on the drawn axis: their instants, or on
// the runtime axis their eMule runtime through the ConnRunTime mapping.
// Both never decrease, as the instants of a loaded log never do.
// The bucket walk asks for them in record order, going back to one of the
// last two at most, so each runtime is looked up once, moving forward.
class tRecordTimes {
public:
    // Without a map the instants are the times. With one, only the records
    // within the span the ConnRunTime log recorded have a runtime: the
    // others are left out, and records() holds the ones kept.
    tRecordTimes(tLogRecords records, const tRuntimeMap* runtimes);

    std::size_t size() const { return records_.count(); }
    std::int64_t front() const { return front_; }
    std::int64_t back() const { return back_; }
    const tLogRecords& records() const { return records_; }

    std::int64_t at(std::size_t index) {
        if (runtimes_ == nullptr)
            return records_.instant(index);
        if (index == lastIndex_)
            return lastTime_;
        if (index == previousIndex_)
            return previousTime_;
        remember(index, runtimes_->runtimeAtInstant(records_.instant(index), search_));
        return lastTime_;
    }

    // The first record from index from on whose time is later than after,
    // with its time; size() when there is none.
    std::size_t firstAfter(std::size_t from, std::int64_t after, std::int64_t& time);

private:
    // firstAfter by the runtime of every record in turn, for a mapping whose
    // runtimes may go back.
    std::size_t walkAfter(std::size_t from, std::int64_t after, std::int64_t& time);
    void remember(std::size_t index, std::int64_t time) {
        previousIndex_ = lastIndex_;
        previousTime_ = lastTime_;
        lastIndex_ = index;
        lastTime_ = time;
    }

    tLogRecords records_;
    const tRuntimeMap* runtimes_;
    std::int64_t front_ = 0;
    std::int64_t back_ = 0;
    tRuntimeMap::tSearch search_;
    // The last two answers.
    std::size_t lastIndex_ = static_cast<std::size_t>(-1);
    std::int64_t lastTime_ = 0;
    std::size_t previousIndex_ = static_cast<std::size_t>(-1);
    std::int64_t previousTime_ = 0;
};

} // namespace pln
