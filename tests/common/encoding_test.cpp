#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "common/error.h"
#include "common/missing_value.h"
#include "common/text.h"
#include "support/error_text.h"

#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace pln {
namespace {

TEST(ByteIo, WritesLittleEndianAndReadsItBack) {
    ByteWriter w;
    w.u8(0xAB);
    w.u16(0x1234);
    w.u32(0xDEADBEEF);
    w.u64(0x0102030405060708ULL);
    w.i32(-2);
    w.f32(1.5f);
    w.f64(-0.25);
    w.text("hi");
    EXPECT_EQ(w.buffer(), (std::vector<std::uint8_t>{
                              0xAB, 0x34, 0x12, 0xEF, 0xBE, 0xAD, 0xDE, 0x08, 0x07, 0x06, 0x05,
                              0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF, 0,    0,    0xC0,
                              0x3F, 0,    0,    0,    0,    0,    0,    0xD0, 0xBF, 'h',  'i'}));
    ByteReader r(w.buffer());
    EXPECT_EQ(r.u8(), 0xAB);
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_EQ(r.u32(), 0xDEADBEEFu);
    EXPECT_EQ(r.u64(), 0x0102030405060708ULL);
    EXPECT_EQ(r.i32(), -2);
    EXPECT_EQ(r.f32(), 1.5f);
    EXPECT_EQ(r.f64(), -0.25);
    EXPECT_EQ(r.text(2), "hi");
    EXPECT_TRUE(r.atEnd());
}

TEST(ByteIo, ReadsPastTheEndFailWithoutMovingOrAllocating) {
    const std::vector<std::uint8_t> data = {1, 2, 3};
    ByteReader r(data);
    r.u8();
    EXPECT_THROW(r.u32(), Error);
    EXPECT_EQ(r.position(), 1u);
    // A huge length is refused before anything is allocated.
    EXPECT_EQ(test::errorOf([&] { r.bytes(std::numeric_limits<std::size_t>::max()); }),
              "Unexpected end of file");
    EXPECT_THROW(r.skip(3), Error);
    EXPECT_THROW(r.seek(4), Error);
    EXPECT_EQ(r.u16(), 0x0302);
    EXPECT_THROW(r.u8(), Error);
}

TEST(ByteIo, PatchesPlaceholderCountsOfEachWidth) {
    ByteWriter w;
    w.u32(0);
    w.u8(0);
    w.u8(9);
    w.patch(0, 0x01020304, 4);
    w.patch(4, 0x1FF, 1);
    EXPECT_EQ(w.buffer(), (std::vector<std::uint8_t>{4, 3, 2, 1, 0xFF, 9}));
    EXPECT_THROW(w.patch(5, 0, 4), std::out_of_range);
}

TEST(MissingValue, HasTheStoredBitPattern) {
    double v = missingValue();
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    EXPECT_EQ(bits, 0xFFF8000000000000ULL);
    EXPECT_TRUE(isMissing(v));
    EXPECT_FALSE(isMissing(0.0));
}

TEST(Format, FillsPlaceholdersInOrderAndKeepsExtraOnes) {
    EXPECT_EQ(format("Cannot save the \"%s\" log file: %s", {"a", "disk full"}),
              "Cannot save the \"a\" log file: disk full");
    EXPECT_EQ(format("%s and %s", {"one"}), "one and %s");
    EXPECT_EQ(format("100%", {"x"}), "100%");
}

const std::string utf8Bom = "\xEF\xBB\xBF";

TEST(Text, Windows1252RoundTripsEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    std::string utf8 = cp1252ToUtf8(all);
    EXPECT_TRUE(isValidUtf8(utf8));
    EXPECT_EQ(utf8ToCp1252(utf8), all);
    EXPECT_EQ(cp1252ToUtf8("\x80\xE9"), "\u20AC\u00E9");
    EXPECT_FALSE(utf8ToCp1252("\u0416").has_value());
}

TEST(Text, EmuleNamesDecodeByTheirPrefixAndEncodeAboveAscii) {
    EXPECT_EQ(decodeEmuleString("Caf\xE9.mp3"), "Caf\u00E9.mp3");
    EXPECT_EQ(decodeEmuleString("\xEF\xBB\xBF\xD0\x96.avi"), "\u0416.avi");
    EXPECT_EQ(decodeEmuleString("\xEF\xBB\xBF"), "");
    // A malformed UTF-8 body is shown with replacement characters, not dropped.
    EXPECT_EQ(decodeEmuleString(utf8Bom + "a\xFF"), "a\uFFFD");

    EXPECT_EQ(encodeEmuleString("plain.txt"), "plain.txt");
    EXPECT_EQ(encodeEmuleString("Caf\u00E9"), utf8Bom + "Caf\xC3\xA9");
    EXPECT_EQ(decodeEmuleString(encodeEmuleString("\u65E5\u672C.mkv")), "\u65E5\u672C.mkv");
}

TEST(Text, Utf16RoundTripsIncludingSurrogatePairs) {
    std::string text = "a\u00E9\u65E5\U0001F600";
    std::string utf16 = utf8ToUtf16le(text);
    EXPECT_EQ(utf16.size(), 2u * 5);
    EXPECT_EQ(utf16leToUtf8({reinterpret_cast<const std::uint8_t*>(utf16.data()), utf16.size()}),
              text);
    // A lone high surrogate and an odd trailing byte do not derail decoding.
    const std::uint8_t broken[] = {0x00, 0xD8, 0x41, 0x00, 0x42};
    EXPECT_EQ(utf16leToUtf8(broken), "\uFFFDA");
}

TEST(Text, CaseFoldingIsAsciiOnly) {
    EXPECT_TRUE(iequals("Statistics.INI", "statistics.ini"));
    EXPECT_FALSE(iequals("abc", "abcd"));
    EXPECT_LT(icompare("abc", "ABD"), 0);
    EXPECT_GT(icompare("b", "A"), 0);
    EXPECT_LT(icompare("ab", "AB1"), 0);
    EXPECT_TRUE(istartsWith("Virtual;x", "virtual;"));
    EXPECT_FALSE(istartsWith("virt", "virtual;"));
    EXPECT_EQ(toUpperAscii("ab\u00E9"), "AB\u00E9");
    EXPECT_EQ(trimControl("\t kB/s \0"), "kB/s");
    EXPECT_EQ(trimControl("   "), "");
}

} // namespace
} // namespace pln
