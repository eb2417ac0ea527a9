#include "emulefiles/core/hash.h"

#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "common/error.h"
#include "common/hex_digit.h"

#include <cstring>

namespace pln {

namespace {

std::int64_t signedHalf(const std::array<std::uint8_t, tHash::size>& bytes, std::size_t first) {
    std::uint64_t v = 0;
    for (std::size_t i = 8; i-- > 0;)
        v = (v << 8) | bytes[first + i];
    return static_cast<std::int64_t>(v);
}

} // namespace

tHash tHash::create(std::string_view text) {
    if (text.size() != 2 * size)
        throw Error("Invalid hash");
    tHash h;
    for (std::size_t i = 0; i < size; ++i) {
        int high = hexDigit(text[2 * i]);
        int low = hexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0)
            throw Error("Invalid hash");
        h.bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return h;
}

tHash tHash::createFromStream(ByteReader& in) {
    tHash h;
    auto raw = in.view(size);
    std::memcpy(h.bytes.data(), raw.data(), size);
    return h;
}

void tHash::writeToStream(ByteWriter& out) const {
    out.bytes(bytes);
}

int tHash::compare(const tHash& other) const {
    const auto a = sortKey();
    const auto b = other.sortKey();
    return a < b ? -1 : a > b ? 1 : 0;
}

std::array<std::int64_t, 2> tHash::sortKey() const {
    return {signedHalf(bytes, 8), signedHalf(bytes, 0)};
}

std::string tHash::toString() const {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text(2 * size, '0');
    for (std::size_t i = 0; i < size; ++i) {
        text[2 * i] = digits[bytes[i] >> 4];
        text[2 * i + 1] = digits[bytes[i] & 0x0F];
    }
    return text;
}

} // namespace pln
