#include "emulefiles/core/known_met_record.h"

#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "common/error.h"

#include <cstring>
#include <type_traits>

namespace pln {

namespace {

constexpr int recordTagCountWidth = 4;

std::uint64_t low32(std::uint64_t v) {
    return v & 0xFFFFFFFFu;
}

} // namespace

std::unique_ptr<tKnownMetRecord> tKnownMetRecord::createFromStream(ByteReader& in) {
    auto record = std::make_unique<tKnownMetRecord>();
    record->date = in.u32();
    record->hash = tHash::createFromStream(in);
    std::uint16_t partCount = in.u16();
    auto raw = in.view(std::size_t{partCount} * tHash::size);
    // One pass over the bytes: a resize would first clear what is then copied.
    record->partHashes.reserve(partCount);
    for (std::size_t at = 0; at < raw.size(); at += tHash::size)
        std::memcpy(record->partHashes.emplace_back().bytes.data(), raw.data() + at, tHash::size);
    record->tags.readTags(in, recordTagCountWidth);
    return record;
}

std::unique_ptr<tKnownMetRecord>
tKnownMetRecord::createFromValues(std::string_view name, std::string_view hashText,
                                  std::uint64_t transferred, std::uint32_t requested,
                                  std::uint32_t accepted, std::uint64_t size,
                                  std::string_view aichText) {
    auto record = std::make_unique<tKnownMetRecord>();
    record->hash = tHash::create(hashText);
    record->tags =
        tKnownMetTags::createFromValues(name, transferred, requested, accepted, size, aichText);
    return record;
}

void tKnownMetRecord::writeToStream(ByteWriter& out) const {
    if (partHashes.size() > 0xFFFF)
        throw Error("Too many part hashes in one record");
    out.u32(date);
    hash.writeToStream(out);
    out.u16(static_cast<std::uint16_t>(partHashes.size()));
    // The part hashes lie one after the other as the file stores them: a
    // video's hundreds go out as one block.
    static_assert(sizeof(tHash) == tHash::size && std::is_trivially_copyable_v<tHash>);
    out.bytes({reinterpret_cast<const std::uint8_t*>(partHashes.data()),
               partHashes.size() * tHash::size});
    tags.writeTags(out, recordTagCountWidth);
}

tKnownMetTag* tKnownMetRecord::findTag(std::uint8_t id) {
    for (auto& t : tags)
        if (t.nameId == id)
            return &t;
    return nullptr;
}

const tKnownMetTag* tKnownMetRecord::findTag(std::uint8_t id) const {
    return const_cast<tKnownMetRecord*>(this)->findTag(id);
}

tKnownMetTag* tKnownMetRecord::findStringTag(std::uint8_t id) {
    for (auto& t : tags)
        if (t.nameId == id && t.tagType == tagType::string)
            return &t;
    return nullptr;
}

const tKnownMetTag* tKnownMetRecord::findStringTag(std::uint8_t id) const {
    return const_cast<tKnownMetRecord*>(this)->findStringTag(id);
}

std::string tKnownMetRecord::getFileName() const {
    const auto* t = findStringTag(tagId::fileName);
    return t ? t->getText() : std::string();
}

void tKnownMetRecord::setFileName(std::string_view utf8) {
    if (auto* t = findStringTag(tagId::fileName))
        t->setText(utf8);
}

std::string tKnownMetRecord::getAichHash() const {
    const auto* t = findStringTag(tagId::aichHash);
    return t ? t->getText() : std::string();
}

void tKnownMetRecord::setAichHash(std::string_view utf8) {
    if (auto* t = findStringTag(tagId::aichHash))
        t->setText(utf8);
}

std::uint64_t tKnownMetRecord::getFileSize() const {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    bool lowSeen = false;
    bool highSeen = false;
    for (const auto& t : tags) {
        if (t.nameId == tagId::fileSize && t.tagType == tagType::uint64)
            return t.intValue;
        if (t.tagType != tagType::uint32)
            continue;
        if (t.nameId == tagId::fileSize && !lowSeen) {
            low = t.intValue;
            lowSeen = true;
        } else if (t.nameId == tagId::fileSizeHigh && !highSeen) {
            high = t.intValue;
            highSeen = true;
        }
        if (lowSeen && highSeen)
            break;
    }
    return (high << 32) | low;
}

void tKnownMetRecord::setFileSize(std::uint64_t size) {
    bool sizeSeen = false;
    bool highSeen = false;
    for (std::size_t i = tags.size(); i-- > 0 && !(sizeSeen && highSeen);) {
        if (tags[i].nameId == tagId::fileSize) {
            tags[i].intValue = size;
            tags[i].tagType = (size >> 32) != 0 ? tagType::uint64 : tagType::uint32;
            sizeSeen = true;
        } else if (tags[i].nameId == tagId::fileSizeHigh) {
            tags.remove(i);
            highSeen = true;
        }
    }
    if (!sizeSeen)
        tags.append(tKnownMetTag::createFromValue(tagId::fileSize, size));
}

std::uint64_t tKnownMetRecord::getTransferred() const {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    bool lowSeen = false;
    bool highSeen = false;
    for (const auto& t : tags) {
        if (!t.isInteger())
            continue;
        if (t.nameId == tagId::transferred && !lowSeen) {
            low = low32(t.intValue);
            lowSeen = true;
        } else if (t.nameId == tagId::transferredHigh && !highSeen) {
            high = low32(t.intValue);
            highSeen = true;
        }
        if (lowSeen && highSeen)
            break;
    }
    return (high << 32) | low;
}

void tKnownMetRecord::setTransferred(std::uint64_t bytes) {
    bool lowDone = false;
    bool highDone = false;
    for (auto& t : tags) {
        if (!t.isInteger())
            continue;
        if (t.nameId == tagId::transferred && !lowDone) {
            t.intValue = low32(bytes);
            lowDone = true;
        } else if (t.nameId == tagId::transferredHigh && !highDone) {
            t.intValue = bytes >> 32;
            highDone = true;
        }
        if (lowDone && highDone)
            break;
    }
    if (!lowDone)
        tags.append(tKnownMetTag::createFromValue(tagId::transferred, low32(bytes)));
    if (!highDone)
        tags.append(tKnownMetTag::createFromValue(tagId::transferredHigh, bytes >> 32));
}

std::uint32_t tKnownMetRecord::getRequested() const {
    const auto* t = findTag(tagId::requested);
    return t ? static_cast<std::uint32_t>(t->intValue) : 0;
}

void tKnownMetRecord::setRequested(std::uint32_t n) {
    setCounter(tagId::requested, n);
}

std::uint32_t tKnownMetRecord::getAccepted() const {
    const auto* t = findTag(tagId::accepted);
    return t ? static_cast<std::uint32_t>(t->intValue) : 0;
}

void tKnownMetRecord::setAccepted(std::uint32_t n) {
    setCounter(tagId::accepted, n);
}

void tKnownMetRecord::setCounter(std::uint8_t id, std::uint32_t n) {
    if (auto* t = findTag(id))
        t->intValue = n;
    else
        tags.append(tKnownMetTag::createFromValue(id, n));
}

bool tKnownMetRecord::hasPartFileName() const {
    return findStringTag(tagId::partFileName) != nullptr;
}

} // namespace pln
