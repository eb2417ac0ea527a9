#include "common/text.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

const std::string utf8Bom = "\xEF\xBB\xBF";

TEST(Text, Windows1252RoundTripsEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    std::string utf8 = cp1252ToUtf8(all);
    EXPECT_TRUE(isValidUtf8(utf8));
    auto back = utf8ToCp1252(utf8);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
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
