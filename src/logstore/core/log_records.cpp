#include "logstore/core/log_records.h"

#include "common/missing_value.h"
#include "logstore/core/increase_sums.h"

#include <algorithm>

namespace pln {

tLogRecords::tLogRecords(std::span<const std::uint8_t> bytes, std::uint8_t valueType,
                         std::span<const std::int64_t> instants, const tIncreaseSums* sums)
    : bytes_(bytes), instants_(instants), sums_(sums), valueType_(valueType),
      recordSize_(recordSizeOf(valueType)),
      count_(recordSize_ == 0 ? 0 : bytes.size() / recordSize_) {}

tLogRecords tLogRecords::slice(std::size_t first, std::size_t last) const {
    last = std::min(last, count_);
    first = std::min(first, last);
    tLogRecords part(bytes_.subspan(first * recordSize_, (last - first) * recordSize_), valueType_,
                     instants_.empty() ? instants_ : instants_.subspan(first, last - first), sums_);
    part.first_ = first_ + first;
    return part;
}

double tLogRecords::value(std::size_t index) const {
    const std::uint8_t* p = record(index) + recordValueOffset;
    return withValueType(
        valueType_,
        [p]<typename T>(std::type_identity<T>) { return static_cast<double>(loadField<T>(p)); },
        missingValue);
}

std::int64_t tLogRecords::integerValue(std::size_t index) const {
    const std::uint8_t* p = record(index) + recordValueOffset;
    return withValueType(
        valueType_,
        [p]<typename T>(std::type_identity<T>) -> std::int64_t {
            if constexpr (std::is_integral_v<T>)
                return loadField<T>(p);
            else
                return 0;
        },
        [] { return std::int64_t{0}; });
}

tKnownFileValues tLogRecords::knownFileValues(std::size_t index) const {
    return knownFileValuesAt(record(index));
}

std::optional<std::uint64_t> tLogRecords::exactIncrease(std::size_t counter, std::size_t j,
                                                        std::size_t e) const {
    if (sums_ == nullptr)
        return std::nullopt;
    return sums_->between(*this, first_, counter, j, e);
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
