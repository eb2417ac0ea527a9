#include "emulefiles/core/known_met_codec.h"

#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "common/error.h"

namespace pln {

namespace {

// Date, hash, part count and tag count of a record without parts or tags.
constexpr std::size_t smallestRecordSize = 4 + tHash::size + 2 + 4;

// An upper bound of a record's size in the file: reserving it up front saves
// the buffer from growing (and being copied) while a large file is built.
std::size_t sizeBound(const tKnownMetRecord& record) {
    std::size_t size = smallestRecordSize + record.partHashes.size() * tHash::size;
    for (const auto& tag : record.tags)
        size += 11 + tag.text.size() + tag.data.size() + (tag.name ? tag.name->size() : 0);
    return size;
}

} // namespace

tKnownMetContents readKnownMet(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    tKnownMetContents contents;
    contents.version = in.u8();
    if (contents.version != knownMetVersion && contents.version != knownMetLargeFilesVersion)
        throw Error("Unexpected known.met version");
    std::uint32_t count = in.u32();
    if (count > in.remaining() / smallestRecordSize)
        throw Error("Unexpected end of file");
    contents.list.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        auto record = tKnownMetRecord::createFromStream(in);
        std::string name = record->getFileName();
        contents.list.append(std::move(name), std::move(record));
    }
    contents.list.sortByHash();
    return contents;
}

std::uint8_t writeKnownMet(const tKnownMetList& list, ByteWriter& out) {
    if (list.count() > 0xFFFFFFFFu)
        throw Error("Too many records for known.met");
    std::size_t bound = 5;
    for (std::size_t i = 0; i < list.count(); ++i)
        bound += sizeBound(list.record(i));
    out.reserve(out.position() + bound);
    std::size_t versionPos = out.position();
    out.u8(knownMetVersion);
    out.u32(static_cast<std::uint32_t>(list.count()));
    bool largeFiles = false;
    for (std::size_t i = 0; i < list.count(); ++i) {
        const auto& record = list.record(i);
        record.writeToStream(out);
        largeFiles = largeFiles || record.getFileSize() > 0xFFFFFFFFu;
    }
    std::uint8_t version = largeFiles ? knownMetLargeFilesVersion : knownMetVersion;
    out.patch(versionPos, version, 1);
    return version;
}

} // namespace pln
