#include "emulefiles/core/hash.h"
#include "emulefiles/core/md5.h"
#include "support/error_text.h"

#include <cstdio>
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

std::string md5Hex(const std::string& message) {
    std::string out;
    for (auto b : md5({reinterpret_cast<const std::uint8_t*>(message.data()), message.size()})) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", b);
        out += pair;
    }
    return out;
}

// The RFC 1321 suite, then lengths around the 56-byte limit of a block that
// decide whether the padding takes one block or two.
TEST(Md5, KnownDigests) {
    const std::pair<std::string, const char*> rows[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
        {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
        {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
        {std::string(119, 'a'), "8a7bd0732ed6a28ce75f6dabc90e1613"},
        {std::string(120, 'a'), "5f61c0ccad4cac44c75ff505e1f1e537"},
        {std::string(1000, 'a'), "cabe45dcc9ae5b66ba86600cca6b8ba8"},
    };
    for (const auto& [message, digest] : rows)
        EXPECT_EQ(md5Hex(message), digest) << message.size() << " bytes";
}

} // namespace
} // namespace pln
