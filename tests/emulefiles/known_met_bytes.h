#pragma once

#include "common/byte_writer.h"
#include "emulefiles/core/hash.h"
#include "emulefiles/core/known_met_codec.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Builders of known.met bytes for fixtures, so that every byte a test feeds
// the codec is spelled out in the test.
namespace pln::test {

using Bytes = std::vector<std::uint8_t>;

// eMule marks a UTF-8 name with this prefix.
inline const std::string utf8Bom = "\xEF\xBB\xBF";

inline tHash hashOf(std::uint8_t fill, std::uint8_t last = 0) {
    tHash h;
    h.bytes.fill(fill);
    h.bytes[15] = last;
    return h;
}

// The same hash as hex digits in stream order, blank on either side so that
// it splices into a row of hex.
inline std::string hashHex(std::uint8_t fill, std::uint8_t last = 0) {
    return " " + hashOf(fill, last).toString() + " ";
}

// Hex digits, blanks ignored.
inline Bytes hex(std::string_view digits) {
    std::string packed;
    for (char c : digits)
        if (c != ' ')
            packed += c;
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < packed.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(packed.substr(i, 2), nullptr, 16)));
    return bytes;
}

// The long form the viewer writes: the type, name length 1 and the id.
inline void idName(ByteWriter& w, std::uint8_t type, std::uint8_t id) {
    w.u8(type);
    w.u16(1);
    w.u8(id);
}

inline void idString(ByteWriter& w, std::uint8_t id, std::string_view text) {
    idName(w, 2, id);
    w.u16(static_cast<std::uint16_t>(text.size()));
    w.text(text);
}

inline void idUint32(ByteWriter& w, std::uint8_t id, std::uint32_t v) {
    idName(w, 3, id);
    w.u32(v);
}

inline void recordHead(ByteWriter& w, std::uint32_t date, const tHash& hash,
                       std::uint16_t partCount, std::uint32_t tagCount) {
    w.u32(date);
    hash.writeToStream(w);
    w.u16(partCount);
    for (std::uint16_t i = 0; i < partCount; ++i)
        hashOf(static_cast<std::uint8_t>(0xA0 + i)).writeToStream(w);
    w.u32(tagCount);
}

// A record in the viewer's own form: name, size and requests.
inline void simpleRecord(ByteWriter& w, const tHash& hash, std::string_view name,
                         std::uint32_t size, std::uint32_t requested) {
    recordHead(w, 1'600'000'000, hash, 0, 3);
    idString(w, 0x01, name);
    idUint32(w, 0x02, size);
    idUint32(w, 0x51, requested);
}

inline void fileHead(ByteWriter& w, std::uint32_t count, std::uint8_t version = 0x0E) {
    w.u8(version);
    w.u32(count);
}

// A file as the viewer creates its record from values.
struct KnownFile {
    std::string name, hash;
    std::uint64_t transferred = 0;
    std::uint32_t requested = 0, accepted = 0;
    std::uint64_t size = 0;
};

// known.met in the viewer's form, the records in hash order.
inline Bytes knownMetOf(const std::vector<KnownFile>& files) {
    tKnownMetList list;
    for (const KnownFile& f : files)
        list.append(f.name, tKnownMetRecord::createFromValues(f.name, f.hash, f.transferred,
                                                              f.requested, f.accepted, f.size, {}));
    list.sortByHash();
    ByteWriter out;
    writeKnownMet(list, out);
    return out.take();
}

} // namespace pln::test
