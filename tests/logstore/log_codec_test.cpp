#include "logstore/core/log_codec.h"

#include <gtest/gtest.h>

namespace pln::test {
namespace {

std::string unitsBytes(std::string_view units) {
    auto field = encodeUnits(units);
    return {field.begin(), field.end()};
}

TEST(LogCodec, UnitsFieldKeepsAtMost62BytesAndATerminator) {
    std::string expected(64, '\0');
    expected[0] = 1;
    EXPECT_EQ(unitsBytes(""), expected) << "empty: length 1 and a zero byte";

    expected = char(13) + std::string("kBytes / sec") + std::string(51, '\0');
    EXPECT_EQ(unitsBytes("kBytes / sec"), expected);

    std::string text63(63, 'u');
    text63.back() = 'z';
    expected = char(63) + std::string(62, 'u') + '\0';
    EXPECT_EQ(unitsBytes(text63), expected) << "the 63rd character gives way to the terminator";
    EXPECT_EQ(unitsBytes(std::string(200, 'u')), expected);

    std::string utf8 = std::string(61, 'a') + "\xC3\xA9"; // 63 bytes ending in a 2-byte character
    auto field = encodeUnits(utf8);
    EXPECT_EQ(field[0], 62) << "a character is never cut in half";
    EXPECT_EQ(decodeUnits(field), std::string(61, 'a'));
}

TEST(LogCodec, UnitsAreTrimmedAndReadWithinTheField) {
    auto field = encodeUnits("  hours \t");
    EXPECT_EQ(decodeUnits(field), "hours");
    field.fill('x');
    field[0] = 255;
    EXPECT_EQ(decodeUnits(field), std::string(63, 'x')) << "a hostile length stays in the field";
    field = encodeUnits("");
    field[0] = 3;
    field[1] = '\xB0';
    field[2] = 'C';
    EXPECT_EQ(decodeUnits(field), "\xC2\xB0"
                                  "C")
        << "bytes that are not UTF-8 are Windows-1252";
}

} // namespace
} // namespace pln::test
