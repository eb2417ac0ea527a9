#pragma once

#include "emulefiles/core/tag_bytes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace pln {

class ByteReader;
class ByteWriter;

// Type codes of a tag. Integers of 8 and 16 bits and the short strings
// (0x11..0x20) exist only in the file: they are read as uint32 and string.
namespace tagType {
inline constexpr std::uint8_t hash = 1;
inline constexpr std::uint8_t string = 2;
inline constexpr std::uint8_t uint32 = 3;
inline constexpr std::uint8_t float32 = 4;
inline constexpr std::uint8_t boolean = 5;
inline constexpr std::uint8_t boolArray = 6;
inline constexpr std::uint8_t blob = 7;
inline constexpr std::uint8_t uint16 = 8;
inline constexpr std::uint8_t uint8 = 9;
inline constexpr std::uint8_t bsob = 10;
inline constexpr std::uint8_t uint64 = 11;
inline constexpr std::uint8_t shortStringFirst = 0x11;
inline constexpr std::uint8_t shortStringLast = 0x20;
} // namespace tagType

// The tag ids the viewer interprets; every other tag is carried along as read.
namespace tagId {
inline constexpr std::uint8_t fileName = 0x01;
inline constexpr std::uint8_t fileSize = 0x02;
inline constexpr std::uint8_t partFileName = 0x12;
inline constexpr std::uint8_t aichHash = 0x27;
inline constexpr std::uint8_t fileSizeHigh = 0x3A;
inline constexpr std::uint8_t transferred = 0x50;
inline constexpr std::uint8_t requested = 0x51;
inline constexpr std::uint8_t accepted = 0x52;
inline constexpr std::uint8_t transferredHigh = 0x54;
} // namespace tagId

// One typed tag of a known.met or cancelled.met record. String values stay
// in the bytes that were stored, so reading and saving a file never alters a
// name; getText and setText convert at the edge.
class tKnownMetTag {
public:
    // Reads one tag; throws "Unknown tag type", "Invalid tag" or
    // "Unexpected end of file".
    static tKnownMetTag createFromStream(ByteReader& in);
    // An id-named tag: names and AICH hashes as strings, the size as uint64
    // when it needs more than 32 bits, everything else as uint32.
    static tKnownMetTag createFromValue(std::uint8_t id, std::uint64_t intValue,
                                        std::string_view text = {});

    // Writes the tag in its long-name form; false (nothing written) for the
    // hash, bool and bool-array tags, which are not written back.
    bool writeToStream(ByteWriter& out) const;

    // The string value as UTF-8: EF BB BF + UTF-8 as it is, anything else
    // as Windows-1252.
    std::string getText() const;
    // Stores UTF-8 text: ASCII as it is, anything else as EF BB BF + UTF-8.
    void setText(std::string_view utf8);

    bool isInteger() const { return tagType == tagType::uint32 || tagType == tagType::uint64; }

    // A big known.met holds millions of tags: the byte members take one
    // word each, and the small members sit together without padding.
    tTagBytes text;
    // The raw bytes of a string name; absent when the tag is named by an id.
    tTagName name;
    // The 16 bytes of a hash tag or the bytes of a blob.
    tTagBytes data;
    std::uint64_t intValue = 0;
    float floatValue = 0;
    std::uint8_t tagType = 0;
    std::uint8_t nameId = 0;
};

} // namespace pln
