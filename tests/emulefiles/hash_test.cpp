#include "emulefiles/core/hash.h"
#include "emulefiles/core/md5.h"
#include "support/error_text.h"

#include <gtest/gtest.h>
#include <string>

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

// The digest as hash text: upper-case hex.
std::string md5Hex(const std::string& message) {
    return tHash(md5({reinterpret_cast<const std::uint8_t*>(message.data()), message.size()}))
        .toString();
}

// The RFC 1321 suite, then lengths around the 56-byte limit of a block that
// decide whether the padding takes one block or two.
TEST(Md5, KnownDigests) {
    const std::pair<std::string, const char*> rows[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {std::string(55, 'a'), "EF1772B6DFF9A122358552954AD0DF65"},
        {std::string(56, 'a'), "3B0C8AC703F828B04C6C197006D17218"},
        {std::string(64, 'a'), "014842D480B571495A4A0363793F7367"},
        {std::string(119, 'a'), "8A7BD0732ED6A28CE75F6DABC90E1613"},
        {std::string(120, 'a'), "5F61C0CCAD4CAC44C75FF505E1F1E537"},
        {std::string(1000, 'a'), "CABE45DCC9AE5B66BA86600CCA6B8BA8"},
    };
    for (const auto& [message, digest] : rows)
        EXPECT_EQ(md5Hex(message), digest) << message.size() << " bytes";
}

} // namespace
} // namespace pln
