#pragma once

#include "emulefiles/core/hash.h"
#include "emulefiles/core/known_met_tags.h"
#include "platform/file_system.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

class ByteWriter;

inline constexpr std::uint8_t cancelledMetVersion = 0x0E;
// The version that stores salted digests instead of the hashes themselves.
inline constexpr std::uint8_t cancelledMetSaltedVersion = 0x0F;
inline constexpr std::uint8_t cancelledMetSubVersion = 1;

// One cancelled download: the stored 16 bytes (the salted digest in a
// salted file, the file hash otherwise) and the tags eMule keeps with it.
struct tCancelledMetRecord {
    tHash hash;
    tKnownMetTags tags;
};

// The records in hash order; an addition at the position findByHash gives
// keeps the order.
class tCancelledMetList {
public:
    std::size_t count() const { return records_.size(); }
    const tCancelledMetRecord& operator[](std::size_t i) const { return records_[i]; }
    auto begin() const { return records_.begin(); }
    auto end() const { return records_.end(); }

    // True with index at a record of that hash; otherwise false with index
    // where such a record belongs.
    bool findByHash(const tHash& hash, std::size_t& index) const;
    void insert(std::size_t index, tCancelledMetRecord record);
    void append(tCancelledMetRecord record) { records_.push_back(std::move(record)); }
    void reserve(std::size_t n) { records_.reserve(n); }
    void sortByHash();

private:
    std::vector<tCancelledMetRecord> records_;
};

struct tCancelledMetHeader {
    std::uint8_t version = cancelledMetVersion;
    // Only in a salted file: the sub-version (1) and the salt.
    std::uint8_t subVersion = 0;
    std::uint32_t seed = 0;
};

struct tCancelledMetContents {
    tCancelledMetHeader header;
    tCancelledMetList list;
};

// Parses a whole cancelled.met held in memory; records come back in hash
// order. Throws "Unexpected cancelled.met version", the tag errors, or
// "Unexpected end of file" (also for counts the input cannot hold).
tCancelledMetContents readCancelledMet(std::span<const std::uint8_t> bytes);
void writeCancelledMet(const tCancelledMetHeader& header, const tCancelledMetList& list,
                       ByteWriter& out);

// The value a salted file stores for a file hash: the MD5 digest of the seed
// (4 bytes, little-endian) followed by the 16 hash bytes.
tHash saltedHash(std::uint32_t seed, const tHash& hash);

// eMule's cancelled.met, read, given new hashes and saved within one
// set-as-cancelled operation.
class tCancelledMet {
public:
    tCancelledMet(std::string fileName, FileSystem& files);

    const std::string& fileName() const { return fileName_; }
    // Null until a load succeeds and after a failed load.
    const tCancelledMetList* list() const { return list_.get(); }
    std::uint8_t version() const { return header_.version; }
    std::uint8_t subVersion() const { return header_.subVersion; }
    std::uint32_t seed() const { return header_.seed; }

    // Throws the system's reason when the file cannot be read, "The "%s"
    // file has been modified while trying to read it." when its stamp
    // changed during the read, or the parsing error; the list is then absent.
    void load();
    // Adds a file hash (32 hexadecimal digits; "Invalid hash" otherwise),
    // salted in a salted file, unless it is present already. eMule leaves the
    // seed 0 until the first cancellation and replaces it when it next reads
    // the file, so a digest salted with 0 would never be recognised: the
    // seed is drawn first, as eMule does.
    void addHash(std::string_view hashText);
    // Writes the whole file through a temporary file renamed over it, so a
    // failure leaves the old file intact. Throws "An error occurred while
    // saving cancelled.met: %s".
    void save();

private:
    std::string fileName_;
    FileSystem& files_;
    tCancelledMetHeader header_;
    std::unique_ptr<tCancelledMetList> list_;
};

} // namespace pln
