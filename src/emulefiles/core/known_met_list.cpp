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
    std::stable_sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
        return a.record->hash.compare(b.record->hash) < 0;
    });
}

} // namespace pln
