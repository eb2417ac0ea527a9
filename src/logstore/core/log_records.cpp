#include "logstore/core/log_records.h"

#include "common/missing_value.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace pln {

namespace {

template <typename T> T load(const std::uint8_t* p) {
    std::uint64_t v = 0;
    for (std::size_t i = sizeof(T); i-- > 0;)
        v = v << 8 | p[i];
    if constexpr (sizeof(T) == 8)
        return std::bit_cast<T>(v);
    else
        return static_cast<T>(v);
}

} // namespace

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
        return load<double>(record(index) + 4);
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
        return load<std::int16_t>(p);
    case valueTypeInteger:
        return load<std::int32_t>(p);
    case valueTypeLong:
        return load<std::int64_t>(p);
    default:
        return 0;
    }
}

tKnownFileValues tLogRecords::knownFileValues(std::size_t index) const {
    const std::uint8_t* p = record(index);
    return {load<std::uint32_t>(p + 4), load<std::uint32_t>(p + 8), load<std::uint64_t>(p + 12)};
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
