#include "logstore/core/instants_cache.h"

#include <algorithm>

namespace pln {

tInstantsCache::Entry* tInstantsCache::entryOf(const std::string& path,
                                               const FileVersion& version) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.path == path; });
    if (it == entries_.end())
        return nullptr;
    if (it->version != version) {
        forget(path);
        return nullptr;
    }
    it->lastUse = ++uses_;
    return &*it;
}

tInstants tInstantsCache::find(const std::string& path, const FileVersion& version) {
    const Entry* entry = entryOf(path, version);
    return entry ? entry->instants : nullptr;
}

tRecordArea tInstantsCache::findArea(const std::string& path, const FileVersion& version) {
    const Entry* entry = entryOf(path, version);
    return entry ? entry->area : tRecordArea{};
}

tSums tInstantsCache::findSums(const std::string& path, const FileVersion& version) {
    const Entry* entry = entryOf(path, version);
    return entry ? entry->sums : nullptr;
}

void tInstantsCache::store(const std::string& path, const FileVersion& version, tInstants instants,
                           tRecordArea area) {
    forget(path);
    if (!instants)
        return;
    Entry entry{path, version, std::move(instants), std::move(area), nullptr, ++uses_};
    if (bytesOf(entry) > budgetBytes_)
        return;
    bytes_ += bytesOf(entry);
    entries_.push_back(std::move(entry));
    evictBeyondBudget();
}

void tInstantsCache::keepSums(const std::string& path, const FileVersion& version, tSums sums) {
    Entry* entry = entryOf(path, version);
    if (entry == nullptr || entry->sums)
        return;
    bytes_ += sums->bytes();
    entry->sums = std::move(sums);
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
