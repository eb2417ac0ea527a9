#include "graphs/core/bucket_walk.h"

#include <algorithm>

namespace pln {

namespace {

// The last record before the first sample, or the last record when none
// reaches it.
std::size_t startRecord(const tRecordTimes& times, std::int64_t firstSample) {
    std::size_t j = 0;
    do
        ++j;
    while (j < times.size() && times[j] < firstSample);
    return j - 1;
}

bool covers(const tRecordTimes& times, std::int64_t sample) {
    return !times.empty() && times.front() <= sample && sample <= times.back();
}

// The first record after the sample that is also later than record j;
// times.size() when there is none.
std::size_t endRecord(const tRecordTimes& times, std::size_t j, std::int64_t sample) {
    std::size_t e = j + 1;
    while (e < times.size() && !(times[e] > sample && times[e] > times[j]))
        ++e;
    return e;
}

} // namespace

void walkBuckets(std::span<const tRecordTimes* const> logs, std::span<const std::int64_t> samples,
                 const std::function<void(std::size_t, std::span<const tBucket>)>& point) {
    if (samples.empty() || logs.empty())
        return;
    for (const tRecordTimes* times : logs)
        if (times->empty())
            return;
    std::vector<tBucket> buckets(logs.size());
    for (std::size_t k = 0; k < logs.size(); ++k)
        buckets[k].j = startRecord(*logs[k], samples[0]);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        std::int64_t sample = samples[i];
        if (!std::all_of(logs.begin(), logs.end(),
                         [sample](const tRecordTimes* t) { return covers(*t, sample); }))
            continue;
        bool complete = true;
        for (std::size_t k = 0; k < logs.size(); ++k) {
            buckets[k].e = endRecord(*logs[k], buckets[k].j, sample);
            complete = complete && buckets[k].e < logs[k]->size();
        }
        if (complete)
            point(i, buckets);
        const tRecordTimes& first = *logs[0];
        bool backOne = i + 1 < samples.size() && buckets[0].e < first.size() &&
                       samples[i + 1] < first[buckets[0].e];
        // A log without a record after the sample stays on its last record,
        // where no later sample finds one either.
        for (std::size_t k = 0; k < logs.size(); ++k)
            buckets[k].j = std::min(backOne ? buckets[k].e - 1 : buckets[k].e, logs[k]->size() - 1);
    }
}

} // namespace pln
