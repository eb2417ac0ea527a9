#include "graphs/core/record_times.h"

#include <algorithm>

namespace pln {

tRecordTimes::tRecordTimes(tLogRecords records, const tRuntimeMap* runtimes)
    : records_(records), runtimes_(runtimes) {
    if (runtimes_ != nullptr && !runtimes_->empty()) {
        std::span<const std::int64_t> instants = records.instants();
        auto from = std::lower_bound(instants.begin(), instants.end(), runtimes_->instant(0));
        auto to =
            std::upper_bound(from, instants.end(), runtimes_->instant(runtimes_->count() - 1));
        records_ = records.slice(static_cast<std::size_t>(from - instants.begin()),
                                 static_cast<std::size_t>(to - instants.begin()));
    }
    if (records_.count() == 0)
        return;
    std::int64_t first = records_.instant(0), last = records_.instant(records_.count() - 1);
    front_ = runtimes_ ? runtimes_->runtimeAtInstant(first) : first;
    back_ = runtimes_ ? runtimes_->runtimeAtInstant(last) : last;
}

std::size_t tRecordTimes::firstAfter(std::size_t from, std::int64_t after, std::int64_t& time) {
    const std::size_t n = size();
    std::size_t e = from;
    if (runtimes_ == nullptr) {
        // Instants never decrease: a search, however far the bucket reaches.
        std::span<const std::int64_t> instants = records_.instants();
        e = static_cast<std::size_t>(
            std::upper_bound(instants.begin() + static_cast<std::ptrdiff_t>(std::min(from, n)),
                             instants.begin() + static_cast<std::ptrdiff_t>(n), after) -
            instants.begin());
        time = e < n ? records_.instant(e) : 0;
        return e;
    }
    if (e >= n) {
        time = 0;
        return e;
    }
    if (!runtimes_->nonDecreasing())
        return walkAfter(from, after, time);
    // Runtimes never decrease either, as instants and the ConnRunTime values
    // do not. Records later than the first ConnRunTime record past after are
    // past it, records not later than the one before that are not: only the
    // few between are looked up, by a search.
    auto timeAt = [this](std::size_t i) {
        return runtimes_->runtimeAtInstant(records_.instant(i));
    };
    const std::size_t q = runtimes_->firstPast(after);
    std::span<const std::int64_t> instants = records_.instants();
    auto notPast = instants.begin() + static_cast<std::ptrdiff_t>(from);
    if (q > 0)
        notPast = std::upper_bound(notPast, instants.end(), runtimes_->instant(q - 1));
    auto past = q == runtimes_->count()
                    ? instants.end()
                    : std::upper_bound(notPast, instants.end(), runtimes_->instant(q));
    std::size_t below = static_cast<std::size_t>(notPast - instants.begin());
    e = static_cast<std::size_t>(past - instants.begin());
    while (below < e) {
        std::size_t middle = below + (e - below) / 2;
        if (timeAt(middle) > after)
            e = middle;
        else
            below = middle + 1;
    }
    if (e > from)
        remember(e - 1, timeAt(e - 1));
    if (e == n) {
        time = lastTime_;
        return e;
    }
    time = timeAt(e);
    remember(e, time);
    return e;
}

std::size_t tRecordTimes::walkAfter(std::size_t from, std::int64_t after, std::int64_t& time) {
    const std::size_t n = size();
    std::size_t e = from;
    tRuntimeMap::tSearch search = search_;
    std::int64_t before = 0, found = 0;
    for (; e < n; ++e) {
        before = found;
        found = runtimes_->runtimeAtInstant(records_.instant(e), search);
        if (found > after)
            break;
    }
    search_ = search;
    time = found;
    if (e > from)
        remember(e - 1, e == n ? found : before);
    if (e < n)
        remember(e, found);
    return e;
}

} // namespace pln
