#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace pln {

// Little-endian writer that appends to a byte buffer. Count fields whose value
// is known only later are written as placeholders and patched.
class ByteWriter {
public:
    void u8(std::uint8_t v) { buf_.push_back(v); }
    void u16(std::uint16_t v);
    void u32(std::uint32_t v);
    void u64(std::uint64_t v);
    void i8(std::int8_t v) { u8(static_cast<std::uint8_t>(v)); }
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void i64(std::int64_t v) { u64(static_cast<std::uint64_t>(v)); }
    void f32(float v);
    void f64(double v);
    void bytes(std::span<const std::uint8_t> v) { buf_.insert(buf_.end(), v.begin(), v.end()); }
    void text(std::string_view v);
    void zeros(std::size_t n) { buf_.insert(buf_.end(), n, 0); }

    // Overwrites width (1, 2 or 4) bytes at pos with the low bytes of v.
    void patch(std::size_t pos, std::uint32_t v, int width);

    std::size_t position() const { return buf_.size(); }
    const std::vector<std::uint8_t>& buffer() const { return buf_; }
    std::vector<std::uint8_t> take() { return std::move(buf_); }
    void reserve(std::size_t n) { buf_.reserve(n); }

private:
    std::vector<std::uint8_t> buf_;
};

} // namespace pln
