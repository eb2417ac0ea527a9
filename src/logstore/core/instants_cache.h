#pragma once

#include "platform/locked_file.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pln {

using tInstants = std::shared_ptr<const std::vector<std::int64_t>>;

// The records' instants of logs loaded before, kept after their records are
// released: a log drawn again, as every change of selection or zoom does,
// reads its bytes but spares working out its instants, the larger part of a
// drawing. An entry holds only for the version of the file it was worked out
// from, so a log appended to or rewritten since is worked out afresh. The
// least recently used entries go once the kept instants exceed the budget.
class tInstantsCache {
public:
    static constexpr std::size_t defaultBudgetBytes = 64u << 20;

    explicit tInstantsCache(std::size_t budgetBytes = defaultBudgetBytes)
        : budgetBytes_(budgetBytes) {}

    // The instants kept for the file at path in this version; null if none.
    tInstants find(const std::string& path, const FileVersion& version);
    void store(const std::string& path, const FileVersion& version, tInstants instants);
    void forget(const std::string& path);

private:
    struct Entry {
        std::string path;
        FileVersion version;
        tInstants instants;
        std::uint64_t lastUse = 0;
    };

    static std::size_t bytesOf(const Entry& entry) {
        return entry.instants->size() * sizeof(std::int64_t);
    }
    void evictBeyondBudget();

    std::size_t budgetBytes_;
    std::size_t bytes_ = 0;
    std::uint64_t uses_ = 0;
    std::vector<Entry> entries_;
};

} // namespace pln
