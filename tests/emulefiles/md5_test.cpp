#include "emulefiles/core/md5.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace pln {
namespace {

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
