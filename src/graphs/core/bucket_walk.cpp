#include "graphs/core/bucket_walk.h"

#include <algorithm>

namespace pln {

namespace {

// Records of one moment (a clock set back by hand leaves some) are one
// record: a bucket starts at the first of them, so that the counts between
// them are not lost.
std::size_t firstOfMoment(tRecordTimes& times, std::size_t j) {
    while (j > 0 && times.at(j - 1) == times.at(j))
        --j;
    return j;
}

// The last record before the first sample, or the last record when none
// reaches it.
std::size_t startRecord(tRecordTimes& times, std::int64_t firstSample) {
    std::int64_t time = 0;
    // From the second record on: the first one is the start even when it
    // already reaches the sample.
    const std::size_t j = times.firstAfter(1, firstSample - 1, time);
    return firstOfMoment(times, j - 1);
}

bool covers(const tRecordTimes& times, std::int64_t sample) {
    return times.front() <= sample && sample <= times.back();
}

// Finds e, the first record after the sample that is also later than
// record j; times.size() when there is none.
void findEnd(tRecordTimes& times, tBucket& bucket, std::int64_t sample) {
    bucket.jTime = times.at(bucket.j);
    bucket.e = times.firstAfter(bucket.j + 1, std::max(sample, bucket.jTime), bucket.eTime);
}

} // namespace

void walkBuckets(std::span<tRecordTimes* const> logs, std::span<const std::int64_t> samples,
                 const std::function<void(std::size_t, std::span<const tBucket>)>& point) {
    if (samples.empty() || logs.empty())
        return;
    for (const tRecordTimes* times : logs)
        if (times->size() == 0)
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
            findEnd(*logs[k], buckets[k], sample);
            complete = complete && buckets[k].e < logs[k]->size();
        }
        if (complete)
            point(i, buckets);
        const tRecordTimes& first = *logs[0];
        bool backOne = i + 1 < samples.size() && buckets[0].e < first.size() &&
                       samples[i + 1] < buckets[0].eTime;
        // A log without a record after the sample stays on its last record,
        // where no later sample finds one either.
        for (std::size_t k = 0; k < logs.size(); ++k)
            buckets[k].j = firstOfMoment(
                *logs[k], std::min(backOne ? buckets[k].e - 1 : buckets[k].e, logs[k]->size() - 1));
    }
}

} // namespace pln
