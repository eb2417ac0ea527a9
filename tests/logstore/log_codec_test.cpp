#include "log_fixture.h"
#include "logstore/core/log_codec.h"

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

TEST(LogCodec, FrontFollowsTheKindOrTheFileIsInvalid) {
    const auto block =
        LogBytes().prefix(3).header(5, 0, 1, "").sources(6, "a.ini-s,k", "b.ini-s,k");
    const struct {
        tLogKind kind;
        std::vector<std::uint8_t> bytes;
        int valueType; // -1: refused
    } rows[] = {
        {tLogKind::knownFile, LogBytes().prefix(0).bytes(), valueTypeKnownFile},
        {tLogKind::iniValue, LogBytes().prefix(1).header(4, 2, 1, "u").int32Record(1, 2).bytes(),
         4},
        {tLogKind::virtualLog, LogBytes(block).bytes(), 5},
        {tLogKind::iniValue, LogBytes().prefix(2).header(4, 2, 1, "u").bytes(), -1},
        {tLogKind::knownFile, LogBytes().prefix(0, "PLN", 1).bytes(), -1},
        {tLogKind::iniValue, LogBytes().prefix(1).raw("abc").bytes(), -1},
        {tLogKind::virtualLog, LogBytes().prefix(3).header(5, 0, 1, "").bytes(), -1},
        {tLogKind::virtualLog, LogBytes(block).bytes(), -1},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        auto bytes = rows[i].bytes;
        if (i + 1 == std::size(rows))
            bytes[headerEnd] = 7; // no such operation
        try {
            EXPECT_EQ(decodeLogFront(bytes, rows[i].kind, "f").header.valueType, rows[i].valueType)
                << i;
        } catch (const Error& e) {
            EXPECT_EQ(rows[i].valueType, -1) << i;
            EXPECT_EQ(e.kind(), ErrorKind::invalidFile);
            EXPECT_STREQ(e.what(), "Invalid log file: \"f\"");
        }
    }
}

} // namespace
} // namespace pln::test
