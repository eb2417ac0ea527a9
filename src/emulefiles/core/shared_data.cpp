#include "emulefiles/core/shared_data.h"

#include "common/calendar.h"
#include "common/text.h"

#include <algorithm>

namespace pln {

void tSharedFileTable::assign(std::vector<tSharedFile> found) {
    std::vector<std::pair<std::string, std::size_t>> order;
    order.reserve(found.size());
    for (std::size_t i = 0; i < found.size(); ++i)
        order.emplace_back(foldCase(found[i].name), i);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    files_.clear();
    keys_.clear();
    files_.reserve(order.size());
    keys_.reserve(order.size());
    for (auto& [key, index] : order) {
        if (!keys_.empty() && keys_.back() == key)
            continue;
        keys_.push_back(std::move(key));
        files_.push_back(std::move(found[index]));
    }
}

void tSharedFileTable::clear() {
    files_.clear();
    keys_.clear();
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
    const std::string key = foldCase(name);
    const auto& keys = table.keys_;
    auto it = std::lower_bound(keys.begin(), keys.end(), key);
    if (it == keys.end() || *it != key)
        return -1;
    auto index = static_cast<std::size_t>(it - keys.begin());
    const tSharedData& data = table.files_[index].data;
    if (data.size != size || !sameFileDate(date, data))
        return -1;
    return static_cast<int>(index);
}

} // namespace pln
