#pragma once

#include "logstore/core/dos_date_time.h"
#include "logstore/core/log_types.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <type_traits>

namespace pln {

class tIncreaseSums;

// Little-endian access to record fields.
inline std::uint32_t loadU32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

// A little-endian field of an arithmetic type.
template <typename T> T loadField(const std::uint8_t* p) {
    if constexpr (std::endian::native == std::endian::little) {
        T v;
        std::memcpy(&v, p, sizeof(T));
        return v;
    } else {
        std::uint64_t v = 0;
        for (std::size_t i = sizeof(T); i-- > 0;)
            v = v << 8 | p[i];
        if constexpr (sizeof(T) == 8)
            return std::bit_cast<T>(v);
        else
            return static_cast<T>(v);
    }
}

inline void storeU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Record layout: every record starts with its 4-byte stamp; a stats record's
// value follows it, a known-file record's counters follow it in this order.
inline constexpr std::size_t recordValueOffset = 4;
inline constexpr std::size_t knownFileRequestsOffset = recordValueOffset;
inline constexpr std::size_t knownFileAcceptedOffset = knownFileRequestsOffset + 4;
inline constexpr std::size_t knownFileTransferredOffset = knownFileAcceptedOffset + 4;

// Calls f with std::type_identity<T> for the C++ type T a stats value type
// stores (types 1..5); returns none() for the types that hold no single value.
template <typename F, typename None>
decltype(auto) withValueType(std::uint8_t valueType, F&& f, None&& none) {
    switch (valueType) {
    case valueTypeByte:
        return f(std::type_identity<std::int8_t>{});
    case valueTypeShort:
        return f(std::type_identity<std::int16_t>{});
    case valueTypeInteger:
        return f(std::type_identity<std::int32_t>{});
    case valueTypeLong:
        return f(std::type_identity<std::int64_t>{});
    case valueTypeReal:
        return f(std::type_identity<double>{});
    default:
        return none();
    }
}

// The counters of a known file at one moment, all running totals.
struct tKnownFileValues {
    std::uint32_t requests = 0;
    std::uint32_t accepted = 0;
    std::uint64_t transferred = 0;
};

// The counters of a known-file record at p.
inline tKnownFileValues knownFileValuesAt(const std::uint8_t* p) {
    return {loadField<std::uint32_t>(p + knownFileRequestsOffset),
            loadField<std::uint32_t>(p + knownFileAcceptedOffset),
            loadField<std::uint64_t>(p + knownFileTransferredOffset)};
}

// A read-only view of a loaded record area: the raw bytes of the file, read
// in place. Whole records only; a trailing partial record is not part of it.
// A loaded log also gives each record its instant (seconds since 1970 UTC,
// never decreasing from one record to the next, worked out once at load),
// the measure of every elapsed time; a view of bare bytes has none. It
// also keeps the running totals of its counters (increase_sums.h).
class tLogRecords {
public:
    tLogRecords(std::span<const std::uint8_t> bytes, std::uint8_t valueType,
                std::span<const std::int64_t> instants = {}, const tIncreaseSums* sums = nullptr);

    std::size_t count() const { return count_; }
    std::size_t recordSize() const { return recordSize_; }
    std::uint8_t valueType() const { return valueType_; }
    // The whole records' bytes, for loops over many records.
    std::span<const std::uint8_t> bytes() const { return bytes_.first(count_ * recordSize_); }

    dosDateTime stamp(std::size_t index) const { return loadU32(record(index)); }
    std::int64_t instant(std::size_t index) const { return instants_[index]; }
    std::span<const std::int64_t> instants() const { return instants_; }
    // The records from first up to (not including) last, with their instants.
    tLogRecords slice(std::size_t first, std::size_t last) const;
    // The value of a stats or queued-clients record (types 1..5); the
    // missing value for the other types, whose records hold no single value.
    double value(std::size_t index) const;
    // The exact value of an integer record (types 1..4); 0 for the others.
    std::int64_t integerValue(std::size_t index) const;
    // The counters of a known-file record.
    tKnownFileValues knownFileValues(std::size_t index) const;
    // The exact increase of a counter (increase_sums.h) from record j to
    // record e, from the loaded log's running totals; none without them.
    std::optional<std::uint64_t> exactIncrease(std::size_t counter, std::size_t j,
                                               std::size_t e) const;

    // Index of the first record whose stamp is not before the given one
    // (stamps compared as unsigned); count() when there is none.
    std::size_t lowerBound(dosDateTime target) const;

private:
    const std::uint8_t* record(std::size_t index) const {
        return bytes_.data() + index * recordSize_;
    }

    std::span<const std::uint8_t> bytes_;
    std::span<const std::int64_t> instants_;
    const tIncreaseSums* sums_;
    // The index of the first record in the log the totals were made from.
    std::size_t first_ = 0;
    std::uint8_t valueType_;
    std::size_t recordSize_;
    std::size_t count_;
};

} // namespace pln
