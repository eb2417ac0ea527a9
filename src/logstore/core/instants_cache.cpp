#include "logstore/core/instants_cache.h"

#include <algorithm>

namespace pln {

tInstants tInstantsCache::find(const std::string& path, const FileVersion& version) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.path == path; });
    if (it == entries_.end())
        return nullptr;
    if (it->version != version) {
        forget(path);
        return nullptr;
    }
    it->lastUse = ++uses_;
    return it->instants;
}

void tInstantsCache::store(const std::string& path, const FileVersion& version,
                           tInstants instants) {
    forget(path);
    if (!instants || instants->size() * sizeof(std::int64_t) > budgetBytes_)
        return;
    entries_.push_back({path, version, std::move(instants), ++uses_});
    bytes_ += bytesOf(entries_.back());
    evictBeyondBudget();
}

void tInstantsCache::forget(const std::string& path) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.path == path; });
    if (it == entries_.end())
        return;
    bytes_ -= bytesOf(*it);
    entries_.erase(it);
}

void tInstantsCache::evictBeyondBudget() {
    while (bytes_ > budgetBytes_) {
        auto oldest =
            std::min_element(entries_.begin(), entries_.end(),
                             [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; });
        bytes_ -= bytesOf(*oldest);
        entries_.erase(oldest);
    }
}

} // namespace pln
