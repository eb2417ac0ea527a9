#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace pln {

class ByteReader;
class ByteWriter;

// A 16-byte eMule file hash, byte 0 first as stored in the files. Hashes sort
// by bytes 8..15 and then 0..7, each read as a signed little-endian 64-bit
// integer: known.met is saved in this order, and binary searches rely on it.
class tHash {
public:
    static constexpr std::size_t size = 16;

    tHash() = default;
    explicit tHash(const std::array<std::uint8_t, size>& raw) : bytes(raw) {}

    // 32 hexadecimal digits of either case; anything else throws "Invalid hash".
    static tHash create(std::string_view text);
    static tHash createFromStream(ByteReader& in);
    void writeToStream(ByteWriter& out) const;

    // -1, 0 or 1: this hash against the other.
    int compare(const tHash& other) const;
    // The two integers hashes sort by, in that order: a sort of many hashes
    // compares these once computed instead of assembling them on every
    // comparison.
    std::array<std::int64_t, 2> sortKey() const;
    int compareHex(std::string_view text) const { return compare(create(text)); }

    // 32 upper-case hexadecimal digits, byte 0 first.
    std::string toString() const;

    friend bool operator==(const tHash& a, const tHash& b) { return a.bytes == b.bytes; }
    friend std::strong_ordering operator<=>(const tHash& a, const tHash& b) {
        return a.compare(b) <=> 0;
    }

    std::array<std::uint8_t, size> bytes{};
};

} // namespace pln
