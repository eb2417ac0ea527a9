#include "kmedit/core/repair_drops.h"

namespace pln {

namespace {

constexpr std::size_t knownFileRecordSize = 20;
constexpr std::size_t requestsOffset = 4;
constexpr std::size_t acceptedOffset = 8;
constexpr std::size_t transferredOffset = 12;

std::uint64_t loadU64(const std::uint8_t* p) {
    return std::uint64_t{loadU32(p)} | std::uint64_t{loadU32(p + 4)} << 32;
}

void storeU64(std::uint8_t* p, std::uint64_t v) {
    storeU32(p, static_cast<std::uint32_t>(v));
    storeU32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

// One counter of the records. A drop at k compares two records before k's
// own correction, and every correction reaches only records from k on, so
// the drops are those of the values as read, and each record receives the
// sum of the drops up to it: one forward pass does the backward walk's work.
template <typename Value, typename Signed, typename Load, typename Store>
bool correctCounter(std::span<std::uint8_t> records, std::size_t offset, Value& added, Load load,
                    Store store) {
    const std::size_t count = records.size() / knownFileRecordSize;
    bool changed = false;
    Value previous = count > 0 ? load(records.data() + offset) : Value{};
    Value sum{};
    for (std::size_t k = 1; k < count; ++k) {
        std::uint8_t* p = records.data() + k * knownFileRecordSize + offset;
        const Value value = load(p);
        if (static_cast<Signed>(value) < static_cast<Signed>(previous)) {
            sum += previous;
            changed = true;
        }
        if (changed)
            store(p, static_cast<Value>(value + sum));
        previous = value;
    }
    added = sum;
    return changed;
}

} // namespace

tDropCorrection correctDrops(std::span<std::uint8_t> records) {
    tDropCorrection c;
    c.transferred = correctCounter<std::uint64_t, std::int64_t>(
        records, transferredOffset, c.added.transferred, loadU64, storeU64);
    c.requests = correctCounter<std::uint32_t, std::uint32_t>(records, requestsOffset,
                                                              c.added.requests, loadU32, storeU32);
    c.accepted = correctCounter<std::uint32_t, std::uint32_t>(records, acceptedOffset,
                                                              c.added.accepted, loadU32, storeU32);
    return c;
}

} // namespace pln
