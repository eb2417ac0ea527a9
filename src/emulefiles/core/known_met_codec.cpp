#include "emulefiles/core/known_met_codec.h"

#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "common/error.h"
#include "common/read_window.h"

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

tKnownMetContents readFrom(tReadWindow& input) {
    tKnownMetContents contents;
    contents.version = input.next([](ByteReader& in) { return in.u8(); });
    if (contents.version != knownMetVersion && contents.version != knownMetLargeFilesVersion)
        throw Error("Unexpected known.met version");
    std::uint32_t count = input.next([](ByteReader& in) { return in.u32(); });
    if (count > input.remaining() / smallestRecordSize)
        throw Error("Unexpected end of file");
    contents.list.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        auto record =
            input.next([](ByteReader& in) { return tKnownMetRecord::createFromStream(in); });
        std::string name = record->getFileName();
        contents.list.append(std::move(name), std::move(record));
    }
    contents.list.sortByHash();
    return contents;
}

} // namespace

tKnownMetContents readKnownMet(std::span<const std::uint8_t> bytes) {
    tReadWindow input(bytes);
    return readFrom(input);
}

tKnownMetContents readKnownMet(FileReader& file, std::size_t chunkSize) {
    tReadWindow input(file, chunkSize);
    return readFrom(input);
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
