#pragma once

#include "emulefiles/core/hash.h"
#include "emulefiles/core/known_met_tags.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

// One file eMule has hashed: its identity, part hashes, date and tags, with
// accessors for the tags the viewer interprets. Text is UTF-8.
class tKnownMetRecord {
public:
    // Reads one record (tag count of 4 bytes).
    static std::unique_ptr<tKnownMetRecord> createFromStream(ByteReader& in);
    // A record of date 0 without part hashes; throws "Invalid hash".
    static std::unique_ptr<tKnownMetRecord>
    createFromValues(std::string_view name, std::string_view hashText, std::uint64_t transferred,
                     std::uint32_t requested, std::uint32_t accepted, std::uint64_t size,
                     std::string_view aichText);

    void writeToStream(ByteWriter& out) const;

    std::size_t tagCount() const { return tags.size(); }
    tKnownMetTag& tag(std::size_t i) { return tags[i]; }
    const tKnownMetTag& tag(std::size_t i) const { return tags[i]; }
    // The first tag with that id, of any type; null when there is none.
    tKnownMetTag* findTag(std::uint8_t id);
    const tKnownMetTag* findTag(std::uint8_t id) const;

    // The name and AICH text live in the first string tag of their id; a
    // record without one reads empty text and ignores the setter.
    std::string getFileName() const;
    void setFileName(std::string_view utf8);
    std::string getAichHash() const;
    void setAichHash(std::string_view utf8);

    // From a uint64 size tag, or from the uint32 low (0x02) and high (0x3A)
    // halves; a missing half is 0.
    std::uint64_t getFileSize() const;
    // Stores the size in every size tag (uint64 when it needs more than 32
    // bits) and removes the old high-half tags.
    void setFileSize(std::uint64_t size);

    std::uint64_t getTransferred() const;
    void setTransferred(std::uint64_t bytes);
    std::uint32_t getRequested() const;
    void setRequested(std::uint32_t n);
    std::uint32_t getAccepted() const;
    void setAccepted(std::uint32_t n);
    // A part-file name says that eMule downloaded the file.
    bool hasPartFileName() const;

    // Seconds since 1970-01-01 UTC: eMule's date of the file on disk.
    std::uint32_t date = 0;
    tHash hash;
    std::vector<tHash> partHashes;
    tKnownMetTags tags;

private:
    const tKnownMetTag* findStringTag(std::uint8_t id) const;
    tKnownMetTag* findStringTag(std::uint8_t id);
    void setCounter(std::uint8_t id, std::uint32_t n);
};

} // namespace pln
