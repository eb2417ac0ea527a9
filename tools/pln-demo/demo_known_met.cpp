#include "demo_known_met.h"

#include "common/byte_writer.h"
#include "common/error.h"
#include "common/file_io.h"
#include "demo_names.h"
#include "emulefiles/core/known_met.h"
#include "emulefiles/core/known_met_codec.h"
#include "platform/platform.h"

#include <algorithm>
#include <set>

namespace pln::demo {

namespace {

constexpr std::size_t recordCount = 320;
// Every ninth file lies in the Incoming folder, small enough to be written out.
constexpr std::size_t sharedEvery = 9;
constexpr std::uint64_t partSize = 9'728'000;
constexpr std::uint32_t firstDate = 1'451'606'400; // 2016-01-01
constexpr std::uint32_t lastDate = 1'719'705'600;  // 2024-06-30
constexpr char base32[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";

// A tag in one of the compact forms eMule writes and the viewer reads but
// never writes: the id flag with uint8, uint16, bool and short strings.
struct CompactTag {
    std::uint8_t type;
    std::uint8_t id;
    std::uint64_t value;
    std::string text;
};

struct DemoRecord {
    std::unique_ptr<tKnownMetRecord> record;
    std::vector<CompactTag> compact;
};

tHash randomHash(DemoRandom& random) {
    tHash h;
    for (auto& b : h.bytes)
        b = static_cast<std::uint8_t>(random.next());
    return h;
}

std::string aichText(DemoRandom& random) {
    std::string text;
    for (int i = 0; i < 32; ++i)
        text += base32[random.next() % 32];
    return text;
}

std::string uniqueName(const DemoName& name, std::set<std::string>& taken) {
    std::string candidate = name.name;
    std::string stem = candidate.substr(0, candidate.size() - name.extension.size() - 1);
    for (int n = 2; !taken.insert(candidate).second; ++n)
        candidate = stem + " (" + std::to_string(n) + ")." + name.extension;
    return candidate;
}

void addShortString(DemoRecord& r, std::uint8_t id, const std::string& text) {
    if (!text.empty() && text.size() <= 16)
        r.compact.push_back({static_cast<std::uint8_t>(0x10 + text.size()), id, 0, text});
}

tKnownMetTag stringTag(std::uint8_t id, const std::string& utf8) {
    tKnownMetTag tag;
    tag.nameId = id;
    tag.tagType = tagType::string;
    tag.setText(utf8);
    return tag;
}

void addMediaTags(DemoRecord& r, const DemoName& name, DemoRandom& random) {
    static constexpr std::uint64_t bitrates[] = {128, 192, 256, 320, 1200};
    auto& tags = r.record->tags;
    if (!name.artist.empty())
        tags.append(stringTag(0xD0, name.artist));
    tags.append(stringTag(0xD2, name.title));
    tags.append(tKnownMetTag::createFromValue(0xD3, random.between(120, 9000)));
    tags.append(tKnownMetTag::createFromValue(0xD4, random.pick(bitrates)));
    addShortString(r, 0xD5, name.kind->fileType == "Audio" ? "mp3" : "xvid");
}

void addExtraTags(DemoRecord& r, const DemoName& name, bool downloaded, DemoRandom& random) {
    auto& tags = r.record->tags;
    std::uint32_t date = r.record->date;
    addShortString(r, 0x03, std::string(name.kind->fileType));
    addShortString(r, 0x04, name.extension);
    r.compact.push_back({tagType::uint8, 0x19, random.between(0, 5), {}});
    if (random.chance(60)) {
        tags.append(tKnownMetTag::createFromValue(0x20, date + random.between(3600, 900'000)));
        tags.append(tKnownMetTag::createFromValue(0x21, date + random.between(3600, 900'000)));
    }
    if (downloaded) {
        tags.append(tKnownMetTag::createFromValue(0x05, date - random.between(0, 86'400)));
        r.compact.push_back({tagType::uint16, 0x30, random.between(1, 4000), {}});
    }
    if (random.chance(20))
        r.compact.push_back({tagType::boolean, 0x25, random.between(0, 1), {}});
    if (name.kind->media)
        addMediaTags(r, name, random);
    if (random.chance(10))
        r.compact.push_back({tagType::uint8, 0xF7, random.between(1, 5), {}});
}

DemoRecord makeRecord(DemoRandom& random, bool shared, std::set<std::string>& names) {
    DemoName name = makeDemoName(random);
    std::string fileName = uniqueName(name, names);
    std::uint64_t size = shared ? random.between(2'000, 64'000)
                                : random.between(name.kind->minSize, name.kind->maxSize);
    auto requested = static_cast<std::uint32_t>(random.between(0, 6000) * random.between(0, 3));
    auto accepted = static_cast<std::uint32_t>(requested * random.between(20, 90) / 100);
    // An accepted request uploads at most the file, and usually a few MB of it.
    std::uint64_t perSession = std::min(size, random.between(50'000, 3'000'000));
    std::uint64_t transferred = accepted * perSession * random.between(30, 100) / 100;
    bool downloaded = random.chance(40);
    std::string aich = random.chance(70) ? aichText(random) : std::string();

    DemoRecord r;
    r.record = tKnownMetRecord::createFromValues(fileName, randomHash(random).toString(),
                                                 transferred, requested, accepted, size, aich);
    r.record->date = static_cast<std::uint32_t>(random.between(firstDate, lastDate));
    std::uint64_t parts = (size + partSize - 1) / partSize;
    if (parts > 1)
        for (std::uint64_t i = 0; i < parts; ++i)
            r.record->partHashes.push_back(randomHash(random));
    if (downloaded) {
        std::string partName = std::to_string(random.between(1, 999)) + ".part";
        r.record->tags.append(stringTag(0x12, partName));
    }
    addExtraTags(r, name, downloaded, random);
    return r;
}

void writeCompact(const CompactTag& tag, ByteWriter& out) {
    out.u8(static_cast<std::uint8_t>(tag.type | 0x80));
    out.u8(tag.id);
    if (tag.type == tagType::uint16)
        out.u16(static_cast<std::uint16_t>(tag.value));
    else if (tag.type == tagType::uint8 || tag.type == tagType::boolean)
        out.u8(static_cast<std::uint8_t>(tag.value));
    else
        out.text(tag.text);
}

// The codec writes every tag the viewer keeps; the compact ones follow in
// eMule's own forms, and the count covers both.
void writeRecord(const DemoRecord& r, ByteWriter& out) {
    const tKnownMetRecord& record = *r.record;
    out.u32(record.date);
    record.hash.writeToStream(out);
    out.u16(static_cast<std::uint16_t>(record.partHashes.size()));
    for (const auto& part : record.partHashes)
        part.writeToStream(out);
    std::size_t countPos = out.position();
    out.u32(0);
    std::uint32_t count = 0;
    for (const auto& tag : record.tags)
        count += tag.writeToStream(out) ? 1 : 0;
    for (const auto& tag : r.compact)
        writeCompact(tag, out);
    out.patch(countPos, count + static_cast<std::uint32_t>(r.compact.size()), 4);
}

} // namespace

std::vector<DemoSharedFile> writeDemoKnownMet(const DemoProfile& profile, DemoRandom& random) {
    std::set<std::string> names;
    std::vector<DemoRecord> records;
    std::vector<DemoSharedFile> shared;
    bool largeFiles = false;
    for (std::size_t i = 0; i < recordCount; ++i) {
        bool isShared = i % sharedEvery == 0;
        records.push_back(makeRecord(random, isShared, names));
        const tKnownMetRecord& record = *records.back().record;
        largeFiles = largeFiles || record.getFileSize() > 0xFFFFFFFFu;
        if (isShared)
            shared.push_back({record.getFileName(), record.getFileSize(), record.date});
    }
    ByteWriter out;
    out.u8(largeFiles ? knownMetLargeFilesVersion : knownMetVersion);
    out.u32(static_cast<std::uint32_t>(records.size()));
    for (const auto& r : records)
        writeRecord(r, out);
    std::string path = (profile.config() / "known.met").string();
    replaceFileContents(path, out.buffer());

    // The viewer must read back what the demo wrote.
    NativePlatform platform;
    tKnownMet check(path, platform.services().files, platform.services().clock);
    check.load();
    if (check.list()->count() != recordCount)
        throw Error("The demo known.met does not read back");
    return shared;
}

} // namespace pln::demo
