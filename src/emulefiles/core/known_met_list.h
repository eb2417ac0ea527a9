#pragma once

#include "emulefiles/core/known_met_record.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

// The records of known.met, each with the display name it had when it was
// read, kept in hash order (equal hashes allowed). Adding a record at the
// position findByHash returns keeps the order.
class tKnownMetList {
public:
    struct Item {
        std::string name;
        std::unique_ptr<tKnownMetRecord> record;
    };

    tKnownMetList() = default;
    tKnownMetList(tKnownMetList&&) = default;
    // The records given up go as the destructor lets them go.
    tKnownMetList& operator=(tKnownMetList&& other) noexcept;
    ~tKnownMetList();

    std::size_t count() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    const std::string& name(std::size_t i) const { return items_[i].name; }
    void setName(std::size_t i, std::string name) { items_[i].name = std::move(name); }
    tKnownMetRecord& record(std::size_t i) { return *items_[i].record; }
    const tKnownMetRecord& record(std::size_t i) const { return *items_[i].record; }

    // True with index at the first record of that hash; otherwise false with
    // index where such a record belongs. The text form throws "Invalid hash".
    bool findByHash(const tHash& hash, std::size_t& index) const;
    bool findByHash(std::string_view hashText, std::size_t& index) const {
        return findByHash(tHash::create(hashText), index);
    }

    void insert(std::size_t index, std::string name, std::unique_ptr<tKnownMetRecord> record);
    void append(std::string name, std::unique_ptr<tKnownMetRecord> record);
    // Takes a record out of the list and hands it to the caller.
    std::unique_ptr<tKnownMetRecord> extract(std::size_t index);
    void reserve(std::size_t n) { items_.reserve(n); }
    // Stable: records of equal hashes keep their order.
    void sortByHash();

private:
    std::vector<Item> items_;
};

} // namespace pln
