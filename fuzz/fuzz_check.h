#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// What every fuzz target shares: the input as bytes or text, and the check
// that turns a broken invariant into a crash libFuzzer records.
namespace pln::fuzz {

inline std::span<const std::uint8_t> bytesOf(const std::uint8_t* data, std::size_t size) {
    return {data, size};
}

inline std::string_view textOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

inline void require(bool holds) {
    if (!holds)
        __builtin_trap();
}

} // namespace pln::fuzz
