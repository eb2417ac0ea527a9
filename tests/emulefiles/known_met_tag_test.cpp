#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "common/error.h"
#include "emulefiles/core/known_met_tag.h"
#include "emulefiles/core/known_met_tags.h"
#include "emulefiles/core/tag_names.h"
#include "known_met_bytes.h"

#include <functional>
#include <gtest/gtest.h>

namespace pln {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes build(const std::function<void(ByteWriter&)>& f) {
    ByteWriter w;
    f(w);
    return w.take();
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

std::string readError(const Bytes& bytes) {
    try {
        ByteReader r(bytes);
        tKnownMetTag::createFromStream(r);
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}

// One tag as eMule may store it and what the viewer writes back.
struct TagCase {
    const char* name;
    Bytes stored;
    Bytes rewritten;
    std::uint8_t type;
};

class TagRoundTrip : public testing::TestWithParam<TagCase> {};

TEST_P(TagRoundTrip, NormalisesOnReadAndWritesTheLongForm) {
    const TagCase& c = GetParam();
    tKnownMetTag tag = readOne(c.stored);
    EXPECT_EQ(tag.tagType, c.type);
    EXPECT_EQ(written(tag), c.rewritten);
    if (!c.rewritten.empty()) {
        EXPECT_EQ(written(readOne(c.rewritten)), c.rewritten);
    }
}

using namespace test;

INSTANTIATE_TEST_SUITE_P(
    Tags, TagRoundTrip,
    testing::Values(TagCase{"FlaggedUint32GrowsByTwoBytes", build([](ByteWriter& w) {
                                flaggedName(w, 3, 0x51);
                                w.u32(77);
                            }),
                            build([](ByteWriter& w) { idUint32(w, 0x51, 77); }), 3},
                    TagCase{"Uint16BecomesUint32", build([](ByteWriter& w) {
                                flaggedName(w, 8, 0x52);
                                w.u16(0xBEEF);
                            }),
                            build([](ByteWriter& w) { idUint32(w, 0x52, 0xBEEF); }), 3},
                    TagCase{"Uint8BecomesUint32", build([](ByteWriter& w) {
                                idName(w, 9, 0x19);
                                w.u8(0xFE);
                            }),
                            build([](ByteWriter& w) { idUint32(w, 0x19, 0xFE); }), 3},
                    TagCase{"ShortStringBecomesString", build([](ByteWriter& w) {
                                flaggedName(w, 0x13, 0x03);
                                w.text("avi");
                            }),
                            build([](ByteWriter& w) { idString(w, 0x03, "avi"); }), 2},
                    TagCase{"LongestShortString", build([](ByteWriter& w) {
                                flaggedName(w, 0x20, 0x04);
                                w.text("0123456789ABCDEF");
                            }),
                            build([](ByteWriter& w) { idString(w, 0x04, "0123456789ABCDEF"); }), 2},
                    TagCase{"Uint64Kept", build([](ByteWriter& w) {
                                flaggedName(w, 11, 0x02);
                                w.u64(0x123456789AULL);
                            }),
                            build([](ByteWriter& w) {
                                idName(w, 11, 0x02);
                                w.u64(0x123456789AULL);
                            }),
                            11},
                    TagCase{"FloatKept", build([](ByteWriter& w) {
                                idName(w, 4, 0xF7);
                                w.f32(2.5f);
                            }),
                            build([](ByteWriter& w) {
                                idName(w, 4, 0xF7);
                                w.f32(2.5f);
                            }),
                            4},
                    TagCase{"BlobKept", build([](ByteWriter& w) {
                                flaggedName(w, 7, 0x60);
                                w.u32(3);
                                w.text("xyz");
                            }),
                            build([](ByteWriter& w) {
                                idName(w, 7, 0x60);
                                w.u32(3);
                                w.text("xyz");
                            }),
                            7},
                    TagCase{"TextNameKept", build([](ByteWriter& w) {
                                textName(w, 3, "Artist rating");
                                w.u32(4);
                            }),
                            build([](ByteWriter& w) {
                                textName(w, 3, "Artist rating");
                                w.u32(4);
                            }),
                            3},
                    TagCase{"TextNameEndsAtNul", build([](ByteWriter& w) {
                                textName(w, 3, std::string_view("ab\0cd", 5));
                                w.u32(4);
                            }),
                            build([](ByteWriter& w) {
                                textName(w, 3, "ab");
                                w.u32(4);
                            }),
                            3},
                    TagCase{"BoolDropped",
                            build([](ByteWriter& w) {
                                flaggedName(w, 5, 0x70);
                                w.u8(1);
                            }),
                            {},
                            5},
                    TagCase{"BoolArrayDropped",
                            build([](ByteWriter& w) {
                                idName(w, 6, 0x71);
                                w.u16(17);
                                w.zeros(3);
                            }),
                            {},
                            6},
                    TagCase{"HashDropped",
                            build([](ByteWriter& w) {
                                flaggedName(w, 1, 0x28);
                                hashOf(9).writeToStream(w);
                            }),
                            {},
                            1}),
    [](const testing::TestParamInfo<TagCase>& row) { return row.param.name; });

TEST(KnownMetTag, HostileInputFailsWithItsMessage) {
    for (std::uint8_t type : {0, 10, 12, 16, 0x21, 0x7F})
        EXPECT_EQ(readError(build([&](ByteWriter& w) {
                      flaggedName(w, type, 1);
                      w.u32(0);
                  })),
                  "Unknown tag type")
            << int(type);
    EXPECT_EQ(readError(build([](ByteWriter& w) {
                  idName(w, 7, 1);
                  w.u32(5);
                  w.text("1234");
              })),
              "Invalid tag");
    EXPECT_EQ(readError(build([](ByteWriter& w) {
                  idName(w, 7, 1);
                  w.u32(0xFFFFFFFF);
              })),
              "Invalid tag");
    EXPECT_EQ(readError(build([](ByteWriter& w) {
                  idName(w, 2, 1);
                  w.u16(9);
                  w.text("short");
              })),
              "Unexpected end of file");
    EXPECT_EQ(readError(build([](ByteWriter& w) {
                  w.u8(3);
                  w.u16(0xFFFF);
                  w.text("name");
              })),
              "Unexpected end of file");
    EXPECT_EQ(readError(build([](ByteWriter& w) {
                  idName(w, 6, 1);
                  w.u16(0xFFFF);
                  w.zeros(100);
              })),
              "Unexpected end of file");
    EXPECT_EQ(readError(build([](ByteWriter& w) {
                  flaggedName(w, 0x20, 4);
                  w.text("short");
              })),
              "Unexpected end of file");
    EXPECT_EQ(readError(build([](ByteWriter& w) { w.u8(0x83); })), "Unexpected end of file");
}

TEST(KnownMetTag, TextDecodingNeverLosesACharacter) {
    tKnownMetTag tag;
    tag.text = "Caf\xE9 \x80";
    EXPECT_EQ(tag.getText(), "Café €");
    tag.text = "\xEF\xBB\xBF"
               "Дом 東京.mkv";
    EXPECT_EQ(tag.getText(), "Дом 東京.mkv");
    tag.text = "\xEF\xBB\xBF";
    EXPECT_EQ(tag.getText(), "");

    tag.setText("plain.avi");
    EXPECT_EQ(tag.text, "plain.avi");
    // Any character above U+007F is stored as UTF-8, Latin-1 ones included.
    tag.setText("Café.avi");
    EXPECT_EQ(tag.text, "\xEF\xBB\xBF"
                        "Café.avi");
    EXPECT_EQ(tag.getText(), "Café.avi");
}

TEST(KnownMetTag, CreateFromValuePicksTheType) {
    tKnownMetTag name = tKnownMetTag::createFromValue(0x01, 5, "Ünïcode");
    EXPECT_EQ(name.tagType, 2);
    EXPECT_EQ(name.getText(), "Ünïcode");
    EXPECT_FALSE(name.name.has_value());
    EXPECT_EQ(tKnownMetTag::createFromValue(0x27, 0, "AICH").text, "AICH");
    EXPECT_EQ(tKnownMetTag::createFromValue(0x02, 0xFFFFFFFFu).tagType, 3);
    EXPECT_EQ(tKnownMetTag::createFromValue(0x02, 0x100000000u).tagType, 11);
    EXPECT_EQ(tKnownMetTag::createFromValue(0x51, 0x100000000u).tagType, 3);
}

TEST(KnownMetTags, CountShrinksToTheTagsWrittenInEitherWidth) {
    Bytes stored = build([](ByteWriter& w) {
        w.u8(3);
        flaggedName(w, 5, 0x70);
        w.u8(1);
        idUint32(w, 0x51, 9);
        flaggedName(w, 1, 0x28);
        hashOf(1).writeToStream(w);
    });
    ByteReader r(stored);
    tKnownMetTags tags;
    tags.readTags(r, 1);
    ASSERT_EQ(tags.size(), 3u);
    ByteWriter w;
    tags.writeTags(w, 1);
    EXPECT_EQ(w.buffer(), build([](ByteWriter& x) {
                  x.u8(1);
                  idUint32(x, 0x51, 9);
              }));
    ByteWriter wide;
    tags.writeTags(wide, 4);
    EXPECT_EQ(wide.buffer(), build([](ByteWriter& x) {
                  x.u32(1);
                  idUint32(x, 0x51, 9);
              }));

    // A count the rest cannot hold fails before any tag is read.
    Bytes huge = build([](ByteWriter& x) {
        x.u32(0x40000000);
        idUint32(x, 0x51, 9);
    });
    ByteReader hr(huge);
    try {
        tags.readTags(hr, 4);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Unexpected end of file");
    }
}

TEST(TagNames, TableAndLabels) {
    EXPECT_EQ(knownMetTagName(1), "FILENAME");
    EXPECT_EQ(knownMetTagName(58), "FILESIZE_HI");
    EXPECT_EQ(knownMetTagName(247), "FILERATING");
    EXPECT_EQ(knownMetTagName(200), "");
    EXPECT_EQ(knownMetTagName(255), "");
    tKnownMetTag tag;
    tag.nameId = 200;
    EXPECT_EQ(knownMetTagLabel(tag), "200");
    tag.nameId = 0x54;
    EXPECT_EQ(knownMetTagLabel(tag), "ATTRANSFERREDHI");
    tag.name = "Caf\xE9";
    EXPECT_EQ(knownMetTagLabel(tag), "Café");
    EXPECT_EQ(knownMetTagTypeName(11), "UINT64");
    EXPECT_EQ(knownMetTagTypeName(6), "BOOLARRAY");
    EXPECT_EQ(knownMetTagTypeName(12), "");
}

} // namespace
} // namespace pln
