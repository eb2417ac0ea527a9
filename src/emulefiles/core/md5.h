#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace pln {

using tMd5Digest = std::array<std::uint8_t, 16>;

// The MD5 message digest (RFC 1321) of a byte string; eMule salts the hashes
// of cancelled downloads with it.
tMd5Digest md5(std::span<const std::uint8_t> message);

} // namespace pln
