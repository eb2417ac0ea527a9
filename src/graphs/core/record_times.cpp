#include "graphs/core/record_times.h"

namespace pln {

tRecordTimes::tRecordTimes(tLogRecords records, const tRuntimeMap* runtimes)
    : records_(records), runtimes_(runtimes) {
    if (records_.count() == 0)
        return;
    dosDateTime first = records_.stamp(0), last = records_.stamp(records_.count() - 1);
    front_ = runtimes_ ? runtimes_->runtimeAtDate(first) : first;
    back_ = runtimes_ ? runtimes_->runtimeAtDate(last) : last;
}

std::size_t tRecordTimes::firstAfter(std::size_t from, std::int64_t after, std::int64_t& time) {
    const std::size_t n = size();
    std::size_t e = from;
    if (runtimes_ == nullptr) {
        while (e < n && static_cast<std::int64_t>(records_.stamp(e)) <= after)
            ++e;
        time = e < n ? records_.stamp(e) : 0;
        return e;
    }
    // The hot loop of a drawing: nothing is stored until it ends, so the
    // search state stays in registers.
    tRuntimeMap::tSearch search = search_;
    std::int64_t before = 0, found = 0;
    for (; e < n; ++e) {
        before = found;
        found = runtimes_->runtimeAtDate(records_.stamp(e), search);
        if (found > after)
            break;
    }
    search_ = search;
    time = found;
    if (e == n) {
        if (e > from)
            remember(e - 1, found);
        return e;
    }
    if (e > from)
        remember(e - 1, before);
    remember(e, found);
    return e;
}

} // namespace pln
