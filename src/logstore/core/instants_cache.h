#pragma once

#include "logstore/core/increase_sums.h"
#include "platform/locked_file.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pln {

using tInstants = std::shared_ptr<const std::vector<std::int64_t>>;
using tSums = std::shared_ptr<const tIncreaseSums>;

// The record area of a log file as read, shared by every holder and changed
// by none of them.
struct tRecordArea {
    std::shared_ptr<const std::uint8_t[]> bytes;
    std::size_t size = 0;
};

// The record areas of logs loaded before, their records' instants and the
// running totals of their counters, kept after the logs release them: a
// log drawn again, as every change of selection or zoom does, neither reads
// its records nor works out their instants or totals again, which is most
// of a drawing. An entry holds only for the
// version of the file it was read from, so a log appended to or rewritten
// since is read afresh. The least recently used entries go once what is
// kept exceeds the budget.
class tInstantsCache {
public:
    // Room for the logs of a full drawing of five-year logs.
    static constexpr std::size_t defaultBudgetBytes = 128u << 20;

    explicit tInstantsCache(std::size_t budgetBytes = defaultBudgetBytes)
        : budgetBytes_(budgetBytes) {}

    // The instants kept for the file at path in this version; null if none.
    tInstants find(const std::string& path, const FileVersion& version);
    // The record area kept with them; no bytes if none.
    tRecordArea findArea(const std::string& path, const FileVersion& version);
    // The totals kept with them; null if none.
    tSums findSums(const std::string& path, const FileVersion& version);
    // The area is that of the file as read, before any correction.
    void store(const std::string& path, const FileVersion& version, tInstants instants,
               tRecordArea area = {});
    // Keeps the totals of that area with the entry stored for it, if any.
    void keepSums(const std::string& path, const FileVersion& version, tSums sums);
    void forget(const std::string& path);

private:
    struct Entry {
        std::string path;
        FileVersion version;
        tInstants instants;
        tRecordArea area;
        tSums sums;
        std::uint64_t lastUse = 0;
    };

    static std::size_t bytesOf(const Entry& entry) {
        return entry.instants->size() * sizeof(std::int64_t) + entry.area.size +
               (entry.sums ? entry.sums->bytes() : 0);
    }
    Entry* entryOf(const std::string& path, const FileVersion& version);
    void evictBeyondBudget();

    std::size_t budgetBytes_;
    std::size_t bytes_ = 0;
    std::uint64_t uses_ = 0;
    std::vector<Entry> entries_;
};

} // namespace pln
