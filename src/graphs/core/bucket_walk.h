#pragma once

#include "graphs/core/record_times.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace pln {

// The two records a point is averaged over: j, the last record before the
// bucket, and e, the first record after the sample that is also later than
// j, so that the bucket never lasts zero time.
struct tBucket {
    std::size_t j = 0;
    std::size_t e = 0;
    // Their times on the drawn axis.
    std::int64_t jTime = 0;
    std::int64_t eTime = 0;
};

// Walks the samples over one or more logs together, in one forward pass.
// A sample makes a point when it lies within every log's records and every
// log has a record after it; point is then called with the sample's index
// and one bucket per log. Buckets of later samples start where the previous
// ones ended; the first log decides when samples are denser than records.
void walkBuckets(std::span<tRecordTimes* const> logs, std::span<const std::int64_t> samples,
                 const std::function<void(std::size_t, std::span<const tBucket>)>& point);

} // namespace pln
