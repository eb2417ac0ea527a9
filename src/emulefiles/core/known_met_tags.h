#pragma once

#include "emulefiles/core/known_met_tag.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace pln {

// Far beyond any known.met or cancelled.met eMule writes: a larger file, a
// backup copy among them, is refused before it is read.
inline constexpr std::uint64_t maxMetFileSize = 1ull << 30;

// The tags of one record in file order; new tags are appended. known.met
// counts them in 4 bytes, cancelled.met in 1.
class tKnownMetTags {
public:
    // Reads a count of countWidth bytes (1 or 4), then that many tags. A count
    // that the rest of the input cannot hold fails before anything is read.
    void readTags(ByteReader& in, int countWidth);
    // Writes a count of countWidth bytes and the tags that are written back;
    // the count covers only those.
    void writeTags(ByteWriter& out, int countWidth) const;

    // The tags of a new record: name; size when above 0; transferred (low
    // and high halves) when above 0; requested and accepted when not 0; the
    // AICH hash text when not empty.
    static tKnownMetTags createFromValues(std::string_view name, std::uint64_t transferred,
                                          std::uint32_t requested, std::uint32_t accepted,
                                          std::uint64_t size, std::string_view aichText);

    std::size_t size() const { return tags_.size(); }
    tKnownMetTag& operator[](std::size_t i) { return tags_[i]; }
    const tKnownMetTag& operator[](std::size_t i) const { return tags_[i]; }
    auto begin() { return tags_.begin(); }
    auto end() { return tags_.end(); }
    auto begin() const { return tags_.begin(); }
    auto end() const { return tags_.end(); }

    void append(tKnownMetTag tag) { tags_.push_back(std::move(tag)); }
    void remove(std::size_t i) { tags_.erase(tags_.begin() + static_cast<std::ptrdiff_t>(i)); }

private:
    std::vector<tKnownMetTag> tags_;
};

} // namespace pln
