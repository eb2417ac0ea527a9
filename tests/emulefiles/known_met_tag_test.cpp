#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "emulefiles/core/known_met_record.h"
#include "emulefiles/core/known_met_tag.h"
#include "emulefiles/core/known_met_tags.h"
#include "known_met_bytes.h"
#include "support/error_text.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

using namespace test;

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
// viewer writes back the long form (empty: dropped), or the read fails.
TEST(KnownMetTag, NormalisesOnReadWritesTheLongFormAndRejectsHostileBytes) {
    const std::string eof = "Unexpected end of file", unknown = "Unknown tag type";
    const struct {
        const char* name;
        std::string stored, rewritten, error = {};
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
        if (!row.error.empty()) {
            EXPECT_EQ(errorOf([&] { readOne(hex(row.stored)); }), row.error);
            continue;
        }
        EXPECT_EQ(written(readOne(hex(row.stored))), hex(row.rewritten));
        if (!row.rewritten.empty()) {
            EXPECT_EQ(written(readOne(hex(row.rewritten))), hex(row.rewritten));
        }
    }
    for (std::string type : {"80", "8A", "8C", "90", "A1", "FF"})
        EXPECT_EQ(errorOf([&] { readOne(hex(type + "01 00000000")); }), unknown) << type;
}

TEST(KnownMetTag, CreateFromValuePicksTheTypeAndStoresTextAsEmuleDoes) {
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
}

// A 16-bit length field holds a name or a text of up to 65,535 bytes.
TEST(KnownMetTag, ValuesUpToTheLengthFieldRoundTripAndLongerOnesFailToWrite) {
    for (std::size_t length : {std::size_t{0xFFFF}, std::size_t{0x10000}}) {
        tKnownMetTag text = tKnownMetTag::createFromValue(0x01, 0, std::string(length, 'p'));
        tKnownMetTag named;
        named.tagType = 3;
        named.name = std::string(length, 'n');
        for (const tKnownMetTag* tag : {&text, &named}) {
            if (length > 0xFFFF) {
                EXPECT_EQ(errorOf([&] { written(*tag); }), "A tag value is too long for known.met");
                continue;
            }
            const tKnownMetTag back = readOne(written(*tag));
            EXPECT_EQ(back.text, tag->text);
            EXPECT_EQ(back.name, tag->name);
        }
    }
}

TEST(KnownMetTags, CountShrinksToTheTagsWrittenInEitherWidth) {
    const std::string kept = " 03 0100 51 09000000 ";
    const Bytes stored = hex("03 85 70 01" + kept + "81 28" + hashHex(1));
    ByteReader r(stored);
    tKnownMetTags tags;
    tags.readTags(r, 1);
    ASSERT_EQ(tags.size(), 3u);
    for (int width : {1, 4}) {
        ByteWriter w;
        tags.writeTags(w, width);
        EXPECT_EQ(w.buffer(), hex((width == 1 ? "01" : "01000000") + kept)) << width;
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

TEST(KnownMetRecord, FileSizeFromEitherFormAndSetFileSizeNormalises) {
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
}

// Each half of the transferred bytes takes the low 32 bits of its tag; only
// integer tags count, and the first tag of an id is read whatever its type.
// Records made from values are the repair's and the tag listing's tests.
TEST(KnownMetRecord, CountersNameAndAichReadAndWriteTheirTags) {
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
