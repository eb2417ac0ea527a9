#include "logstore/core/log_records.h"

#include "common/missing_value.h"

#include <algorithm>

namespace pln {

tLogRecords::tLogRecords(std::span<const std::uint8_t> bytes, std::uint8_t valueType,
                         std::span<const std::int64_t> instants)
    : bytes_(bytes), instants_(instants), valueType_(valueType),
      recordSize_(recordSizeOf(valueType)),
      count_(recordSize_ == 0 ? 0 : bytes.size() / recordSize_) {}

tLogRecords tLogRecords::slice(std::size_t first, std::size_t last) const {
    last = std::min(last, count_);
    first = std::min(first, last);
    return {bytes_.subspan(first * recordSize_, (last - first) * recordSize_), valueType_,
            instants_.empty() ? instants_ : instants_.subspan(first, last - first)};
}

double tLogRecords::value(std::size_t index) const {
    switch (valueType_) {
    case valueTypeByte:
    case valueTypeShort:
    case valueTypeInteger:
    case valueTypeLong:
        return static_cast<double>(integerValue(index));
    case valueTypeReal:
        return loadField<double>(record(index) + 4);
    default:
        return missingValue();
    }
}

std::int64_t tLogRecords::integerValue(std::size_t index) const {
    const std::uint8_t* p = record(index) + 4;
    switch (valueType_) {
    case valueTypeByte:
        return static_cast<std::int8_t>(p[0]);
    case valueTypeShort:
        return loadField<std::int16_t>(p);
    case valueTypeInteger:
        return loadField<std::int32_t>(p);
    case valueTypeLong:
        return loadField<std::int64_t>(p);
    default:
        return 0;
    }
}

tKnownFileValues tLogRecords::knownFileValues(std::size_t index) const {
    return knownFileValuesAt(record(index));
}

std::size_t tLogRecords::lowerBound(dosDateTime target) const {
    std::size_t lo = 0, hi = count_;
    while (lo < hi) {
        std::size_t mid = lo + (hi - lo) / 2;
        if (stamp(mid) < target)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

} // namespace pln
