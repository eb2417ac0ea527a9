#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "emulefiles/core/hash.h"
#include "known_met_bytes.h"
#include "support/error_text.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

using test::errorOf;
using test::hashOf;

TEST(Hash, TextFormParsesEitherCaseAndPrintsUpperCase) {
    EXPECT_EQ(tHash::create("00112233445566778899aabbccddeeFF").toString(),
              "00112233445566778899AABBCCDDEEFF");

    std::string good = "00112233445566778899AABBCCDDEEFF";
    for (std::string bad : {std::string(), good.substr(1), good + "0", good.substr(0, 30) + "G0",
                            " " + good.substr(1), good.substr(0, 16) + "-" + good.substr(17)})
        EXPECT_EQ(errorOf([&] { tHash::create(bad); }), "Invalid hash") << bad;
}

TEST(Hash, OrdersByHighThenLowHalfAsSignedLittleEndian) {
    // Byte 15 is the sign byte of the high half: 0x80 sorts before zero.
    EXPECT_EQ(hashOf(0, 0x80).compare(hashOf(0, 0)), -1);
    EXPECT_EQ(hashOf(0, 0).compare(hashOf(0, 0x80)), 1);
    EXPECT_EQ(hashOf(0, 0x7F).compare(hashOf(0, 0x01)), 1);

    // The high half decides before the low half, whatever byte 0 holds.
    tHash lowBig = hashOf(0);
    lowBig.bytes[0] = 0x7F;
    tHash highBig = hashOf(0);
    highBig.bytes[8] = 0x01;
    EXPECT_EQ(lowBig.compare(highBig), -1);
    EXPECT_LT(lowBig, highBig);

    // Equal high halves: the low half, signed, decides (byte 7 is its sign).
    tHash negativeLow = hashOf(0);
    negativeLow.bytes[7] = 0xFF;
    EXPECT_EQ(negativeLow.compare(hashOf(0)), -1);

    EXPECT_EQ(hashOf(5).compare(hashOf(5)), 0);
    EXPECT_EQ(hashOf(0).compareHex("00000000000000000000000000000080"), 1);
}

} // namespace
} // namespace pln
