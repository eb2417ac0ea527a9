#include "emulefiles/core/known_met_record.h"
#include "known_met_bytes.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

using namespace test;

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

TEST(KnownMetRecord, FileSizeFromEitherFormAndSetFileSizeNormalises) {
    auto split = recordWith({intTag(0x02, 0x10), intTag(0x3A, 0x2)});
    EXPECT_EQ(split->getFileSize(), 0x200000010u);
    split->setFileSize(0x300000000u);
    ASSERT_EQ(split->tagCount(), 1u);
    EXPECT_EQ(split->tag(0).tagType, 11);
    EXPECT_EQ(split->getFileSize(), 0x300000000u);
    split->setFileSize(1000);
    EXPECT_EQ(split->tag(0).tagType, 3);
    EXPECT_EQ(split->getFileSize(), 1000u);

    auto wide = recordWith({intTag(0x3A, 0x7), intTag(0x02, 0x500000000u, 11)});
    EXPECT_EQ(wide->getFileSize(), 0x500000000u);
    EXPECT_EQ(recordWith({intTag(0x3A, 1)})->getFileSize(), 0x100000000u);
    EXPECT_EQ(recordWith({intTag(0x02, 5, 2)})->getFileSize(), 0u);

    auto none = recordWith({});
    none->setFileSize(0x100000001u);
    ASSERT_EQ(none->tagCount(), 1u);
    EXPECT_EQ(none->tag(0).nameId, 0x02);
    EXPECT_EQ(none->tag(0).tagType, 11);
}

TEST(KnownMetRecord, CountersReadAndWriteTheirTags) {
    auto r = recordWith(
        {intTag(0x54, 0x1), intTag(0x50, 0x223456789u, 11), intTag(0x51, 99, 2), intTag(0x51, 3)});
    // Each half takes the low 32 bits of its tag; only integer tags count.
    EXPECT_EQ(r->getTransferred(), 0x123456789ull);
    r->setTransferred(0x0000000500000006ull);
    EXPECT_EQ(r->tag(0).intValue, 5u);
    EXPECT_EQ(r->tag(1).intValue, 6u);
    EXPECT_EQ(r->tag(1).tagType, 11);
    EXPECT_EQ(r->getTransferred(), 0x500000006ull);
    // findTag takes the first tag of the id, whatever its type.
    EXPECT_EQ(r->getRequested(), 99u);
    r->setRequested(12);
    EXPECT_EQ(r->tag(2).intValue, 12u);
    EXPECT_EQ(r->tagCount(), 4u);

    auto empty = recordWith({});
    EXPECT_EQ(empty->getTransferred(), 0u);
    EXPECT_EQ(empty->getAccepted(), 0u);
    empty->setTransferred(7);
    empty->setAccepted(8);
    ASSERT_EQ(empty->tagCount(), 3u);
    EXPECT_EQ(empty->tag(0).nameId, 0x50);
    EXPECT_EQ(empty->tag(1).nameId, 0x54);
    EXPECT_EQ(empty->tag(1).intValue, 0u);
    EXPECT_EQ(empty->getAccepted(), 8u);
    EXPECT_FALSE(empty->hasPartFileName());
}

// Records made from values are the repair's and the tag listing's tests.
TEST(KnownMetRecord, NameAndAichLiveInStringTagsOnly) {
    auto r = recordWith({intTag(0x01, 4), intTag(0x27, 5)});
    EXPECT_EQ(r->getFileName(), "");
    r->setFileName("ignored");
    EXPECT_EQ(r->tag(0).text, "");
    EXPECT_EQ(r->getAichHash(), "");
}

} // namespace
} // namespace pln
