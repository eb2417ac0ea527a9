#include "common/byte_reader.h"
#include "common/file_io.h"
#include "emulefiles/core/known_met_tag.h"
#include "emulefiles/core/md5.h"
#include "emulefiles_prelude.h"

namespace pln {
namespace {

using namespace test;

// What the viewer writes back of the file it reads from bytes or a file.
template <class... Source> Bytes rewrite(Source&&... stored) {
    ByteWriter out;
    writeKnownMet(readKnownMet(std::forward<Source>(stored)...).list, out);
    return out.take();
}

std::string loadError(const Bytes& stored) {
    return errorOf([&] { readKnownMet(stored); });
}

// Equal hashes keep their file order; a search gives the first of them or
// where the hash would go.
TEST(KnownMetCodec, SavesInHashOrderAndLargeFilesVersionKeepingNamesAndUnknownTags) {
    // Hash order puts byte 15 = 0x80 first, then 0x00, then 0x01.
    ByteWriter cafe, tokyo, opaque, twin, stored, expected;
    simpleRecord(cafe, hashOf(1, 0x01), "Caf\xE9.mp3", 300, 1);
    simpleRecord(tokyo, hashOf(2, 0x80), utf8Bom + "東京.mkv", 100, 2);
    recordHead(opaque, 7, hashOf(3, 0x00), 3, 3);
    idString(opaque, 0x01, utf8Bom + "Ünïcödé Кино.avi");
    idString(opaque, 0x12, "001.part");
    opaque.bytes(hex("07 0600 6F7061717565 02000000 00FF")); // a blob named "opaque"
    simpleRecord(twin, hashOf(1, 0x01), "twin", 1, 0);
    fileHead(stored, 4);
    fileHead(expected, 4);
    for (const ByteWriter* record : {&cafe, &tokyo, &opaque, &twin})
        stored.bytes(record->buffer());
    for (const ByteWriter* record : {&tokyo, &opaque, &cafe, &twin})
        expected.bytes(record->buffer());

    tKnownMetContents contents = readKnownMet(stored.buffer());
    const tKnownMetList& list = contents.list;
    ASSERT_EQ(list.count(), 4u);
    EXPECT_EQ(list.name(0), "東京.mkv");
    EXPECT_EQ(list.name(1), "Ünïcödé Кино.avi");
    EXPECT_EQ(list.name(2), "Café.mp3");
    EXPECT_EQ(list.record(1).partHashes[2], hashOf(0xA2));
    EXPECT_TRUE(list.record(1).hasPartFileName());
    EXPECT_FALSE(list.record(0).hasPartFileName());
    EXPECT_EQ(rewrite(stored.buffer()), expected.buffer());
    EXPECT_EQ(rewrite(expected.buffer()), expected.buffer());

    std::size_t index = 99;
    EXPECT_TRUE(list.findByHash(hashOf(1, 0x01).toString(), index));
    EXPECT_EQ(index, 2u);
    const std::pair<tHash, std::size_t> misses[] = {
        {hashOf(7), 2}, {hashOf(0, 0x80), 0}, {hashOf(9, 0x7F), 4}};
    for (const auto& [hash, at] : misses) {
        EXPECT_FALSE(list.findByHash(hash, index));
        EXPECT_EQ(index, at) << hash.toString();
    }
    EXPECT_EQ(errorOf([&] { list.findByHash("XYZ", index); }), "Invalid hash");

    // The version follows the largest file, not the file read: the old
    // two-tag form of a 4 GiB file counts as large. The tag count is that of
    // the tags written, without the bool dropped.
    const std::string size = "03 0100 02 00000000 03 0100 3A 01000000";
    EXPECT_EQ(rewrite(hex("0E 01000000 00000000" + hashHex(2) + "0000 03000000 85 70 01" + size)),
              hex("0F 01000000 00000000" + hashHex(2) + "0000 02000000" + size));
}

TEST(KnownMetCodec, HostileFilesFailWithAClearMessage) {
    ByteWriter valid;
    fileHead(valid, 2);
    simpleRecord(valid, hashOf(1), "first.avi", 100, 0);
    // A short string, a bool array and a blob, after one part hash.
    valid.bytes(hex("00000000" + hashHex(2) + "0100" + hashHex(0xA0) +
                    "03000000 93 03 617669 06 0100 70 1400 000000 07 0100 71 04000000 626C6F62"));
    const Bytes& all = valid.buffer();
    ASSERT_EQ(loadError(all), "no error");
    // Every truncation fails; none reads past the end. Read from the file a
    // few bytes at a time, each fails alike, and the whole file reads alike.
    TempDir dir;
    for (std::size_t n = 0; n <= all.size(); ++n) {
        Bytes part(all.begin(), all.begin() + static_cast<long>(n)), whole, windowed;
        std::string error = errorOf([&] { whole = rewrite(part); });
        EXPECT_TRUE(n == all.size() || error == "Unexpected end of file" || error == "Invalid tag")
            << n << error;
        std::string path = dir.write("known.met", part);
        for (std::size_t chunk : {1, 5, 64}) {
            FileReader file(path, maxMetFileSize);
            EXPECT_EQ(errorOf([&] { windowed = rewrite(file, chunk); }), error)
                << n << " " << chunk;
            EXPECT_EQ(windowed, whole);
        }
    }

    // Corrupted bytes anywhere either load or fail with an Error, never worse.
    std::uint32_t seed = 12345;
    for (int round = 0; round < 3000; ++round) {
        Bytes corrupted = all;
        for (int k = 0; k < 3; ++k) {
            seed = seed * 1664525u + 1013904223u;
            corrupted[seed % corrupted.size()] = static_cast<std::uint8_t>(seed >> 24);
        }
        errorOf([&] { readKnownMet(corrupted); });
    }

    const std::pair<std::string, std::string> rows[] = {
        {"0D 00000000", "Unexpected known.met version"},
        {"0E FFFFFFFF 00000000" + hashHex(1) + "0000 00000000", "Unexpected end of file"},
        {"0E 01000000 00000000" + hashHex(1) + "FFFF" + std::string(128, '0'),
         "Unexpected end of file"},
        {"0E 01000000 00000000" + hashHex(1) + "0000 01000000 8A 01 00000000", "Unknown tag type"},
        // A tag count the rest cannot hold fails before any tag is read.
        {"0E 01000000 00000000" + hashHex(1) + "0000 00000040 03 0100 51 09000000",
         "Unexpected end of file"},
    };
    for (const auto& [stored, error] : rows)
        EXPECT_EQ(loadError(hex(stored)), error) << stored;
}

TEST(Hash, TextFormParsesEitherCaseAndOrdersByHighThenLowHalf) {
    EXPECT_EQ(tHash::create("00112233445566778899aabbccddeeFF").toString(),
              "00112233445566778899AABBCCDDEEFF");

    std::string good = "00112233445566778899AABBCCDDEEFF";
    for (std::string bad : {std::string(), good.substr(1), good + "0", good.substr(0, 30) + "G0",
                            " " + good.substr(1), good.substr(0, 16) + "-" + good.substr(17)})
        EXPECT_EQ(errorOf([&] { tHash::create(bad); }), "Invalid hash") << bad;

    // Byte 15 is the sign byte of the high half, byte 7 that of the low half;
    // the high half decides first, whatever byte 0 holds.
    const std::tuple<const char*, const char*, int> rows[] = {
        {"00000000000000000000000000000080", "00000000000000000000000000000000", -1},
        {"0000000000000000000000000000007F", "00000000000000000000000000000001", 1},
        {"7F000000000000000000000000000000", "00000000000000000100000000000000", -1},
        {"00000000000000FF0000000000000000", "00000000000000000000000000000000", -1},
        {"05050505050505050505050505050505", "05050505050505050505050505050505", 0},
    };
    for (const auto& [a, b, order] : rows) {
        EXPECT_EQ(tHash::create(a).compare(tHash::create(b)), order) << a;
        EXPECT_EQ(tHash::create(b).compareHex(a), -order) << a;
        EXPECT_EQ(tHash::create(a) < tHash::create(b), order < 0) << a;
    }
}

// The RFC 1321 suite, then lengths around the 56-byte limit of a block that
// decide whether the padding takes one block or two.
TEST(Md5, KnownDigests) {
    const std::pair<std::string, const char*> rows[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {std::string(55, 'a'), "EF1772B6DFF9A122358552954AD0DF65"},
        {std::string(56, 'a'), "3B0C8AC703F828B04C6C197006D17218"},
        {std::string(64, 'a'), "014842D480B571495A4A0363793F7367"},
        {std::string(119, 'a'), "8A7BD0732ED6A28CE75F6DABC90E1613"},
        {std::string(120, 'a'), "5F61C0CCAD4CAC44C75FF505E1F1E537"},
        {std::string(1000, 'a'), "CABE45DCC9AE5B66BA86600CCA6B8BA8"},
    };
    for (const auto& [message, digest] : rows)
        EXPECT_EQ(tHash(md5(Bytes(message.begin(), message.end()))).toString(), digest)
            << message.size() << " bytes";
}

tKnownMetTag readOne(const Bytes& bytes) {
    ByteReader r(bytes);
    tKnownMetTag tag = tKnownMetTag::createFromStream(r);
    EXPECT_TRUE(r.atEnd());
    return tag;
}

Bytes written(const tKnownMetTag& tag) {
    ByteWriter w;
    tag.writeToStream(w);
    return w.take();
}

// Each tag as eMule may store it, in hex: the type, then either the
// id-flagged id or a 16-bit name length and the name, then the value. The
// viewer writes back the long form (empty: dropped), which reads back as it
// is, or the read fails.
TEST(KnownMetTag, NormalisesOnReadWritesTheLongFormAndRejectsHostileBytes) {
    const std::string eof = "Unexpected end of file", unknown = "Unknown tag type";
    const struct {
        const char* name;
        std::string stored, rewritten, error = "no error";
    } rows[] = {
        {"FlaggedUint32GrowsByTwoBytes", "83 51 4D000000", "03 0100 51 4D000000"},
        {"Uint16BecomesUint32", "88 52 EFBE", "03 0100 52 EFBE0000"},
        {"Uint8BecomesUint32", "09 0100 19 FE", "03 0100 19 FE000000"},
        {"ShortStringBecomesString", "93 03 617669", "02 0100 03 0300 617669"},
        {"LongestShortString", "A0 04 30313233343536373839414243444546",
         "02 0100 04 1000 30313233343536373839414243444546"},
        {"Uint64Kept", "8B 02 9A78563412000000", "0B 0100 02 9A78563412000000"},
        {"FloatKept", "04 0100 F7 00002040", "04 0100 F7 00002040"},
        {"BlobKept", "87 60 03000000 78797A", "07 0100 60 03000000 78797A"},
        {"TextNameKept", "03 0600 526174696E67 04000000", "03 0600 526174696E67 04000000"},
        {"TextNameKeptPastNul", "03 0500 6162006364 04000000", "03 0500 6162006364 04000000"},
        {"NameCutByNulIsNoId", "03 0200 5000 05000000", "03 0200 5000 05000000"},
        {"BoolDropped", "85 70 01", ""},
        {"BoolArrayDropped", "06 0100 71 1100 000000", ""},
        {"HashDropped", "81 28 09090909090909090909090909090909", ""},
        {"BlobLongerThanTheRest", "07 0100 01 05000000 31323334", "", "Invalid tag"},
        {"HugeBlob", "07 0100 01 FFFFFFFF", "", "Invalid tag"},
        {"CutString", "02 0100 01 0900 73686F7274", "", eof},
        {"CutName", "03 FFFF 6E616D65", "", eof},
        {"HugeBoolArray", "06 0100 01 FFFF" + std::string(200, '0'), "", eof},
        {"CutShortString", "A0 04 73686F7274", "", eof},
        {"NoName", "83", "", eof},
        {"UnknownTypeAtTheEnd", "8A", "", unknown},
        {"UnknownNamedTypeAtTheEnd", "21", "", unknown},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(errorOf([&] {
                      EXPECT_EQ(written(readOne(hex(row.stored))), hex(row.rewritten));
                      EXPECT_TRUE(row.rewritten.empty() ||
                                  written(readOne(hex(row.rewritten))) == hex(row.rewritten));
                  }),
                  row.error);
    }
    for (std::string type : {"80", "8A", "8C", "90", "A1", "FF"})
        EXPECT_EQ(errorOf([&] { readOne(hex(type + "01 00000000")); }), unknown) << type;
}

TEST(KnownMetTag, CreateFromValuePicksTheTypeAndLengthsUpToTheFieldRoundTrip) {
    tKnownMetTag name = tKnownMetTag::createFromValue(0x01, 5, "Ünïcode");
    EXPECT_EQ(name.tagType, 2);
    EXPECT_EQ(name.text, utf8Bom + "Ünïcode");
    EXPECT_EQ(name.getText(), "Ünïcode");
    EXPECT_FALSE(name.name.has_value());
    EXPECT_EQ(tKnownMetTag::createFromValue(0x27, 0, "AICH").text, "AICH");
    EXPECT_EQ(tKnownMetTag::createFromValue(0x02, 0xFFFFFFFFu).tagType, 3);
    EXPECT_EQ(tKnownMetTag::createFromValue(0x02, 0x100000000u).tagType, 11);
    EXPECT_EQ(tKnownMetTag::createFromValue(0x51, 0x100000000u).tagType, 3);
    // A copy keeps an absent name absent and an empty one present.
    tKnownMetTag copy = name;
    EXPECT_TRUE(!copy.name.has_value() && copy.text == name.text);
    name.name = "";
    copy = name;
    EXPECT_TRUE(copy.name.has_value() && copy.name->empty());
    name.text = "Caf\xE9 \x80";
    EXPECT_EQ(name.getText(), "Café €");

    // A 16-bit length field holds a name or a text of up to 65,535 bytes.
    for (std::size_t length : {std::size_t{0xFFFF}, std::size_t{0x10000}}) {
        tKnownMetTag text = tKnownMetTag::createFromValue(0x01, 0, std::string(length, 'p')), named;
        named.tagType = 3;
        named.name = std::string(length, 'n');
        for (const tKnownMetTag* tag : {&text, &named}) {
            tKnownMetTag back;
            EXPECT_EQ(errorOf([&] { back = readOne(written(*tag)); }),
                      length > 0xFFFF ? "A tag value is too long for known.met" : "no error");
            EXPECT_TRUE(length > 0xFFFF || (back.text == tag->text && back.name == tag->name));
        }
    }
}

std::unique_ptr<tKnownMetRecord> recordWith(std::initializer_list<tKnownMetTag> tags) {
    auto r = std::make_unique<tKnownMetRecord>();
    for (const auto& t : tags)
        r->tags.append(t);
    return r;
}

tKnownMetTag intTag(std::uint8_t id, std::uint64_t v, std::uint8_t type = 3) {
    tKnownMetTag t;
    t.nameId = id;
    t.tagType = type;
    t.intValue = v;
    return t;
}

// A record's tags as "id type value" in hex, to compare all of them at once.
std::vector<std::string> tagsOf(const tKnownMetRecord& r) {
    std::vector<std::string> tags;
    for (std::size_t i = 0; i < r.tagCount(); ++i) {
        char text[40];
        std::snprintf(text, sizeof text, "%02X %X %llX", r.tag(i).nameId, r.tag(i).tagType,
                      static_cast<unsigned long long>(r.tag(i).intValue));
        tags.emplace_back(text);
    }
    return tags;
}

TEST(KnownMetRecord, SizeCountersNameAndAichReadAndWriteTheirTags) {
    EXPECT_EQ(recordWith({intTag(0x02, 0x10), intTag(0x3A, 0x2)})->getFileSize(), 0x200000010u);
    EXPECT_EQ(recordWith({intTag(0x3A, 7), intTag(0x02, 0x500000000u, 11)})->getFileSize(),
              0x500000000u);
    EXPECT_EQ(recordWith({intTag(0x3A, 1)})->getFileSize(), 0x100000000u);
    EXPECT_EQ(recordWith({intTag(0x02, 5, 2)})->getFileSize(), 0u);
    auto split = recordWith({intTag(0x02, 0x10), intTag(0x3A, 0x2)});
    split->setFileSize(0x300000000u);
    EXPECT_EQ(tagsOf(*split), std::vector<std::string>{"02 B 300000000"});
    EXPECT_EQ(split->getFileSize(), 0x300000000u);
    split->setFileSize(1000);
    EXPECT_EQ(tagsOf(*split), std::vector<std::string>{"02 3 3E8"});
    auto none = recordWith({});
    none->setFileSize(0x100000001u);
    EXPECT_EQ(tagsOf(*none), std::vector<std::string>{"02 B 100000001"});

    // Each half of the transferred bytes takes the low 32 bits of its tag; only
    // integer tags count, and the first tag of an id is read whatever its type.
    auto r = recordWith(
        {intTag(0x54, 0x1), intTag(0x50, 0x223456789u, 11), intTag(0x51, 99, 2), intTag(0x51, 3)});
    EXPECT_EQ(r->getTransferred(), 0x123456789ull);
    EXPECT_EQ(r->getRequested(), 99u);
    r->setTransferred(0x0000000500000006ull);
    r->setRequested(12);
    EXPECT_EQ(r->getTransferred(), 0x500000006ull);
    EXPECT_EQ(tagsOf(*r), (std::vector<std::string>{"54 3 5", "50 B 6", "51 2 C", "51 3 3"}));

    auto empty = recordWith({});
    EXPECT_EQ(empty->getTransferred(), 0u);
    EXPECT_EQ(empty->getAccepted(), 0u);
    empty->setTransferred(7);
    empty->setAccepted(8);
    EXPECT_EQ(tagsOf(*empty), (std::vector<std::string>{"50 3 7", "54 3 0", "52 3 8"}));
    EXPECT_EQ(empty->getAccepted(), 8u);
    EXPECT_FALSE(empty->hasPartFileName());

    auto named = recordWith({intTag(0x01, 4), intTag(0x27, 5)});
    EXPECT_EQ(named->getFileName(), "");
    named->setFileName("ignored");
    EXPECT_EQ(named->tag(0).text, "");
    EXPECT_EQ(named->getAichHash(), "");
}

} // namespace
} // namespace pln
