#include "emulefiles/core/known_met_tag.h"

#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "common/error.h"
#include "common/text.h"

namespace pln {

namespace {

constexpr std::uint8_t idFlag = 0x80;

// The next n bytes as they are stored, read without an intermediate copy.
std::string_view storedText(ByteReader& in, std::size_t n) {
    auto bytes = in.view(n);
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

void readName(ByteReader& in, tKnownMetTag& tag) {
    std::uint16_t length = in.u16();
    if (length == 1) {
        tag.nameId = in.u8();
        return;
    }
    // Every stored byte is kept: a name cut at a NUL could come back as a
    // one-byte name, which is read as an id and would count as another tag.
    tag.name = storedText(in, length);
}

// Checked before the name is read, so that a file cut right after an unknown
// type reports the type rather than its end.
bool isKnownType(std::uint8_t type) {
    return (type >= tagType::hash && type <= tagType::uint64 && type != tagType::bsob) ||
           (type >= tagType::shortStringFirst && type <= tagType::shortStringLast);
}

void readValue(ByteReader& in, tKnownMetTag& tag) {
    switch (tag.tagType) {
    case tagType::hash:
        tag.data = in.view(16);
        return;
    case tagType::string:
        tag.text = storedText(in, in.u16());
        return;
    case tagType::uint32:
        tag.intValue = in.u32();
        return;
    case tagType::float32:
        tag.floatValue = in.f32();
        return;
    case tagType::boolean:
        in.skip(1);
        return;
    case tagType::boolArray:
        in.skip(in.u16() / 8u + 1u);
        return;
    case tagType::blob: {
        std::uint32_t size = in.u32();
        if (size > in.remaining())
            throw Error("Invalid tag");
        tag.data = in.view(size);
        return;
    }
    case tagType::uint16:
        tag.intValue = in.u16();
        tag.tagType = tagType::uint32;
        return;
    case tagType::uint8:
        tag.intValue = in.u8();
        tag.tagType = tagType::uint32;
        return;
    case tagType::uint64:
        tag.intValue = in.u64();
        return;
    default:
        break;
    }
    tag.text = storedText(in, tag.tagType - 0x10u);
    tag.tagType = tagType::string;
}

// A length that does not fit its 16-bit field would corrupt everything after it.
std::uint16_t checkedLength(std::size_t length) {
    if (length > 0xFFFF)
        throw Error("A tag value is too long for known.met");
    return static_cast<std::uint16_t>(length);
}

} // namespace

tKnownMetTag tKnownMetTag::createFromStream(ByteReader& in) {
    tKnownMetTag tag;
    std::uint8_t type = in.u8();
    if (!isKnownType(type & ~idFlag))
        throw Error("Unknown tag type");
    if (type & idFlag) {
        tag.tagType = type & ~idFlag;
        tag.nameId = in.u8();
    } else {
        tag.tagType = type;
        readName(in, tag);
    }
    readValue(in, tag);
    return tag;
}

tKnownMetTag tKnownMetTag::createFromValue(std::uint8_t id, std::uint64_t intValue,
                                           std::string_view text) {
    tKnownMetTag tag;
    tag.nameId = id;
    if (id == tagId::fileName || id == tagId::aichHash) {
        tag.tagType = tagType::string;
        tag.setText(text);
    } else {
        bool wide = id == tagId::fileSize && intValue > 0xFFFFFFFFu;
        tag.tagType = wide ? tagType::uint64 : tagType::uint32;
        tag.intValue = intValue;
    }
    return tag;
}

bool tKnownMetTag::writeToStream(ByteWriter& out) const {
    switch (tagType) {
    case tagType::string:
    case tagType::uint32:
    case tagType::float32:
    case tagType::blob:
    case tagType::uint64:
        break;
    default:
        return false;
    }
    out.u8(tagType);
    if (name) {
        out.u16(checkedLength(name->size()));
        out.text(*name);
    } else {
        out.u16(1);
        out.u8(nameId);
    }
    switch (tagType) {
    case tagType::string:
        out.u16(checkedLength(text.size()));
        out.text(text);
        break;
    case tagType::uint32:
        out.u32(static_cast<std::uint32_t>(intValue));
        break;
    case tagType::float32:
        out.f32(floatValue);
        break;
    case tagType::blob:
        out.u32(static_cast<std::uint32_t>(data.size()));
        out.bytes(data);
        break;
    default:
        out.u64(intValue);
        break;
    }
    return true;
}

// ASCII, which most names are, reads the same in both encodings and is
// taken as it is, without the byte-by-byte conversion.
std::string tKnownMetTag::getText() const {
    if (isAscii(text))
        return std::string(text.view());
    return decodeEmuleString(text);
}

void tKnownMetTag::setText(std::string_view utf8) {
    text = encodeEmuleString(utf8);
}

} // namespace pln
