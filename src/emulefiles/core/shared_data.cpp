#include "emulefiles/core/shared_data.h"

#include "common/calendar.h"
#include "common/text.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <numeric>

namespace pln {

void tSharedFileTable::assign(std::vector<tSharedFile> found) {
    std::vector<std::string> folded;
    folded.reserve(found.size());
    std::size_t keyBytes = 0;
    for (const tSharedFile& file : found) {
        folded.push_back(foldCase(file.name));
        keyBytes += folded.back().size();
    }
    std::vector<std::uint32_t> order(found.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return folded[a] < folded[b]; });
    clear();
    files_.reserve(order.size());
    keyEnds_.reserve(order.size());
    keyBytes_.reserve(keyBytes);
    for (std::uint32_t i : order) {
        if (!files_.empty() && key(files_.size() - 1) == folded[i])
            continue;
        keyBytes_ += folded[i];
        keyEnds_.push_back(keyBytes_.size());
        files_.push_back(std::move(found[i]));
    }
    buildIndex();
}

void tSharedFileTable::clear() {
    files_.clear();
    keyBytes_.clear();
    keyEnds_.clear();
    slots_.clear();
}

// Twice as many slots as keys keeps the probe sequences short.
void tSharedFileTable::buildIndex() {
    if (files_.empty())
        return;
    slots_.assign(std::bit_ceil(2 * files_.size()), 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = 0; i < files_.size(); ++i) {
        std::size_t at = std::hash<std::string_view>()(key(i)) & mask;
        while (slots_[at] != 0)
            at = (at + 1) & mask;
        slots_[at] = static_cast<std::uint32_t>(i + 1);
    }
}

int tSharedFileTable::indexOf(std::string_view foldedName) const {
    if (slots_.empty())
        return -1;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = std::hash<std::string_view>()(foldedName) & mask; slots_[at] != 0;
         at = (at + 1) & mask) {
        const std::size_t i = slots_[at] - 1;
        if (key(i) == foldedName)
            return static_cast<int>(i);
    }
    return -1;
}

bool sameFileDate(std::uint32_t date, const tSharedData& data) {
    std::int64_t known = static_cast<std::int64_t>(date) * 1000;
    // The file time counts to the millisecond, and a time of whole seconds
    // is moved 1 ms later before the difference is truncated, as these dates
    // have always been compared: a file exactly one second older than the
    // known date still matches, one exactly whole hours older does not.
    std::int64_t file = floorDiv(data.lastWriteTime, 1'000'000);
    if (file - floorDiv(file, 1000) * 1000 == 0)
        file += 1;
    std::int64_t seconds = (file > known ? file - known : known - file) / 1000;
    return seconds % 3600 == 0 && seconds <= std::int64_t{6} * 3600;
}

int findSharedFile(const tSharedFileTable& table, std::string_view name, std::uint64_t size,
                   std::uint32_t date) {
    const int index = table.indexOf(foldCase(name));
    if (index < 0)
        return -1;
    const tSharedData& data = table[static_cast<std::size_t>(index)].data;
    if (data.size != size || !sameFileDate(date, data))
        return -1;
    return index;
}

} // namespace pln
