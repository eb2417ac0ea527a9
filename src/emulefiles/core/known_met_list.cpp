#include "emulefiles/core/known_met_list.h"

#include <algorithm>

namespace pln {

bool tKnownMetList::findByHash(const tHash& hash, std::size_t& index) const {
    auto it =
        std::lower_bound(items_.begin(), items_.end(), hash, [](const Item& item, const tHash& h) {
            return item.record->hash.compare(h) < 0;
        });
    index = static_cast<std::size_t>(it - items_.begin());
    return it != items_.end() && it->record->hash == hash;
}

void tKnownMetList::insert(std::size_t index, std::string name,
                           std::unique_ptr<tKnownMetRecord> record) {
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index),
                  Item{std::move(name), std::move(record)});
}

void tKnownMetList::append(std::string name, std::unique_ptr<tKnownMetRecord> record) {
    items_.push_back(Item{std::move(name), std::move(record)});
}

std::unique_ptr<tKnownMetRecord> tKnownMetList::extract(std::size_t index) {
    auto record = std::move(items_[index].record);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    return record;
}

void tKnownMetList::sortByHash() {
    // The hashes are sorted in a compact copy and the items moved once: a
    // sort of the items themselves would reach into every record again and
    // again, all over the heap.
    struct Key {
        tHash hash;
        std::size_t position;
    };
    std::vector<Key> keys;
    keys.reserve(items_.size());
    for (std::size_t i = 0; i < items_.size(); ++i)
        keys.push_back({items_[i].record->hash, i});
    const auto less = [](const Key& a, const Key& b) { return a.hash.compare(b.hash) < 0; };
    if (std::is_sorted(keys.begin(), keys.end(), less))
        return;
    std::stable_sort(keys.begin(), keys.end(), less);
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (const Key& key : keys)
        sorted.push_back(std::move(items_[key.position]));
    items_ = std::move(sorted);
}

} // namespace pln
