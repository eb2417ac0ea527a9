#include "emulefiles/core/cancelled_met.h"

#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "common/error.h"
#include "common/file_io.h"
#include "emulefiles/core/md5.h"

#include <algorithm>
#include <random>

namespace pln {

namespace {

// A hash and a tag count of 0.
constexpr std::size_t smallestRecordSize = tHash::size + 1;

bool hashLess(const tCancelledMetRecord& a, const tHash& b) {
    return a.hash.compare(b) < 0;
}

std::uint32_t randomNonZeroSeed() {
    std::random_device device;
    std::uint32_t seed = 0;
    while (seed == 0)
        seed = static_cast<std::uint32_t>(device());
    return seed;
}

} // namespace

bool tCancelledMetList::findByHash(const tHash& hash, std::size_t& index) const {
    auto it = std::lower_bound(records_.begin(), records_.end(), hash, hashLess);
    index = static_cast<std::size_t>(it - records_.begin());
    return it != records_.end() && it->hash == hash;
}

void tCancelledMetList::insert(std::size_t index, tCancelledMetRecord record) {
    records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(index), std::move(record));
}

void tCancelledMetList::sortByHash() {
    std::stable_sort(records_.begin(), records_.end(),
                     [](const auto& a, const auto& b) { return a.hash.compare(b.hash) < 0; });
}

tCancelledMetContents readCancelledMet(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    tCancelledMetContents contents;
    tCancelledMetHeader& header = contents.header;
    header.version = in.u8();
    if (header.version != cancelledMetVersion && header.version != cancelledMetSaltedVersion)
        throw Error("Unexpected cancelled.met version");
    if (header.version == cancelledMetSaltedVersion) {
        header.subVersion = in.u8();
        if (header.subVersion != cancelledMetSubVersion)
            throw Error("Unexpected cancelled.met version");
        header.seed = in.u32();
    }
    std::uint32_t count = in.u32();
    if (count > in.remaining() / smallestRecordSize)
        throw Error("Unexpected end of file");
    contents.list.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        tCancelledMetRecord record;
        record.hash = tHash::createFromStream(in);
        record.tags.readTags(in, 1);
        contents.list.append(std::move(record));
    }
    contents.list.sortByHash();
    return contents;
}

void writeCancelledMet(const tCancelledMetHeader& header, const tCancelledMetList& list,
                       ByteWriter& out) {
    if (list.count() > 0xFFFFFFFFu)
        throw Error("Too many records for cancelled.met");
    out.u8(header.version);
    if (header.version == cancelledMetSaltedVersion) {
        out.u8(header.subVersion);
        out.u32(header.seed);
    }
    out.u32(static_cast<std::uint32_t>(list.count()));
    for (const auto& record : list) {
        record.hash.writeToStream(out);
        record.tags.writeTags(out, 1);
    }
}

tHash saltedHash(std::uint32_t seed, const tHash& hash) {
    std::array<std::uint8_t, 4 + tHash::size> input{};
    for (std::size_t i = 0; i < 4; ++i)
        input[i] = static_cast<std::uint8_t>(seed >> (8 * i));
    std::copy(hash.bytes.begin(), hash.bytes.end(), input.begin() + 4);
    return tHash(md5(input));
}

tCancelledMet::tCancelledMet(std::string fileName, FileSystem& files)
    : fileName_(std::move(fileName)), files_(files) {}

void tCancelledMet::load() {
    list_.reset();
    std::optional<FileStamp> before = files_.modificationStamp(fileName_);
    std::vector<std::uint8_t> bytes = readWholeFile(fileName_, maxMetFileSize);
    if (!before || files_.modificationStamp(fileName_) != before)
        throw Error(
            format("The \"%s\" file has been modified while trying to read it.", {fileName_}));
    tCancelledMetContents contents;
    try {
        contents = readCancelledMet(bytes);
    } catch (const Error& e) {
        throw Error(fileFailure("read", fileName_, e.what()), e.kind());
    }
    header_ = contents.header;
    list_ = std::make_unique<tCancelledMetList>(std::move(contents.list));
}

void tCancelledMet::addHash(std::string_view hashText) {
    tHash hash = tHash::create(hashText);
    if (!list_)
        throw Error("cancelled.met has not been read");
    if (header_.version == cancelledMetSaltedVersion) {
        if (header_.seed == 0)
            header_.seed = randomNonZeroSeed();
        hash = saltedHash(header_.seed, hash);
    }
    std::size_t index = 0;
    if (!list_->findByHash(hash, index))
        list_->insert(index, tCancelledMetRecord{hash, {}});
}

void tCancelledMet::save() {
    try {
        if (!list_)
            throw Error("cancelled.met has not been read");
        ByteWriter out;
        writeCancelledMet(header_, *list_, out);
        writeNamedFile(fileName_, out.buffer());
    } catch (const Error& e) {
        throw Error(format("An error occurred while saving cancelled.met: %s", {e.what()}),
                    e.kind());
    }
}

} // namespace pln
