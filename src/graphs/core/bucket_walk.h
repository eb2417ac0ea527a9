#pragma once

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
};

// The times of one log's records on the drawn axis (packed times or runtime
// seconds), in record order.
using tRecordTimes = std::vector<std::int64_t>;

// Walks the samples over one or more logs together, in one forward pass.
// A sample makes a point when it lies within every log's records and every
// log has a record after it; point is then called with the sample's index
// and one bucket per log. Buckets of later samples start where the previous
// ones ended; the first log decides when samples are denser than records.
void walkBuckets(std::span<const tRecordTimes* const> logs, std::span<const std::int64_t> samples,
                 const std::function<void(std::size_t, std::span<const tBucket>)>& point);

} // namespace pln
