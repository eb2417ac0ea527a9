#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pln {

// Bounds-checked little-endian reader over a byte buffer. Every read past the
// end throws Error("Unexpected end of file") and leaves the position where it
// was, so a hostile file can never make the program read outside the buffer.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    std::uint64_t u64();
    std::int8_t i8() { return static_cast<std::int8_t>(u8()); }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::int64_t i64() { return static_cast<std::int64_t>(u64()); }
    float f32();
    double f64();
    // Copies the next n bytes; n is checked against what is left before any allocation.
    std::vector<std::uint8_t> bytes(std::size_t n);
    std::string text(std::size_t n);
    std::span<const std::uint8_t> view(std::size_t n);
    void skip(std::size_t n);

    std::size_t position() const { return pos_; }
    std::size_t size() const { return data_.size(); }
    std::size_t remaining() const { return data_.size() - pos_; }
    bool atEnd() const { return pos_ == data_.size(); }
    void seek(std::size_t pos);

private:
    void need(std::size_t n) const;
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

} // namespace pln
