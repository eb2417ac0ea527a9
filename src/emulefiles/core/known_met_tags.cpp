#include "emulefiles/core/known_met_tags.h"

#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "common/error.h"

namespace pln {

namespace {

// The smallest tag: a type byte with the id flag, the id and a 1-byte value.
constexpr std::size_t smallestTagSize = 3;

std::uint32_t readCount(ByteReader& in, int countWidth) {
    return countWidth == 1 ? in.u8() : in.u32();
}

} // namespace

void tKnownMetTags::readTags(ByteReader& in, int countWidth) {
    std::uint32_t count = readCount(in, countWidth);
    if (count > in.remaining() / smallestTagSize)
        throw Error("Unexpected end of file");
    tags_.clear();
    tags_.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
        tags_.push_back(tKnownMetTag::createFromStream(in));
}

void tKnownMetTags::writeTags(ByteWriter& out, int countWidth) const {
    std::size_t countPos = out.position();
    if (countWidth == 1)
        out.u8(0);
    else
        out.u32(0);
    std::uint32_t written = 0;
    for (const auto& tag : tags_)
        written += tag.writeToStream(out) ? 1 : 0;
    if (countWidth == 1 && written > 0xFF)
        throw Error("Too many tags in one record");
    out.patch(countPos, written, countWidth);
}

tKnownMetTags tKnownMetTags::createFromValues(std::string_view name, std::uint64_t transferred,
                                              std::uint32_t requested, std::uint32_t accepted,
                                              std::uint64_t size, std::string_view aichText) {
    tKnownMetTags tags;
    tags.append(tKnownMetTag::createFromValue(tagId::fileName, 0, name));
    if (size > 0)
        tags.append(tKnownMetTag::createFromValue(tagId::fileSize, size));
    if (transferred > 0) {
        tags.append(tKnownMetTag::createFromValue(tagId::transferred, transferred & 0xFFFFFFFFu));
        tags.append(tKnownMetTag::createFromValue(tagId::transferredHigh, transferred >> 32));
    }
    if (requested != 0)
        tags.append(tKnownMetTag::createFromValue(tagId::requested, requested));
    if (accepted != 0)
        tags.append(tKnownMetTag::createFromValue(tagId::accepted, accepted));
    if (!aichText.empty())
        tags.append(tKnownMetTag::createFromValue(tagId::aichHash, 0, aichText));
    return tags;
}

} // namespace pln
