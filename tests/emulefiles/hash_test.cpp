#include "emulefiles/core/hash.h"
#include "support/error_text.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

using test::errorOf;

TEST(Hash, TextFormParsesEitherCaseAndPrintsUpperCase) {
    EXPECT_EQ(tHash::create("00112233445566778899aabbccddeeFF").toString(),
              "00112233445566778899AABBCCDDEEFF");

    std::string good = "00112233445566778899AABBCCDDEEFF";
    for (std::string bad : {std::string(), good.substr(1), good + "0", good.substr(0, 30) + "G0",
                            " " + good.substr(1), good.substr(0, 16) + "-" + good.substr(17)})
        EXPECT_EQ(errorOf([&] { tHash::create(bad); }), "Invalid hash") << bad;
}

// Byte 15 is the sign byte of the high half, byte 7 that of the low half;
// the high half decides first, whatever byte 0 holds.
TEST(Hash, OrdersByHighThenLowHalfAsSignedLittleEndian) {
    const struct {
        const char *a, *b;
        int order;
    } rows[] = {
        {"00000000000000000000000000000080", "00000000000000000000000000000000", -1},
        {"0000000000000000000000000000007F", "00000000000000000000000000000001", 1},
        {"7F000000000000000000000000000000", "00000000000000000100000000000000", -1},
        {"00000000000000FF0000000000000000", "00000000000000000000000000000000", -1},
        {"05050505050505050505050505050505", "05050505050505050505050505050505", 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(tHash::create(row.a).compare(tHash::create(row.b)), row.order) << row.a;
        EXPECT_EQ(tHash::create(row.b).compareHex(row.a), -row.order) << row.a;
        EXPECT_EQ(tHash::create(row.a) < tHash::create(row.b), row.order < 0) << row.a;
    }
}

} // namespace
} // namespace pln
