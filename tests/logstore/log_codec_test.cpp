#include "logstore/core/log_codec.h"

#include <gtest/gtest.h>

namespace pln::test {
namespace {

std::string unitsBytes(std::string_view units) {
    auto field = encodeUnits(units);
    return {field.begin(), field.end()};
}

TEST(LogCodec, UnitsFieldKeepsAtMost62BytesAndATerminator) {
    EXPECT_EQ(unitsBytes(""), char(1) + std::string(63, '\0')) << "length 1 and a zero byte";
    EXPECT_EQ(unitsBytes("kBytes / sec"),
              char(13) + std::string("kBytes / sec") + std::string(51, '\0'));

    const std::string expected = char(63) + std::string(62, 'u') + '\0';
    EXPECT_EQ(unitsBytes(std::string(62, 'u') + 'z'), expected) << "the 63rd gives way to the end";
    EXPECT_EQ(unitsBytes(std::string(200, 'u')), expected);

    // 63 bytes ending in a 2-byte character.
    auto field = encodeUnits(std::string(61, 'a') + "\xC3\xA9");
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
