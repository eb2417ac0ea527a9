#include "common/byte_writer.h"

#include <bit>

namespace pln {

void ByteWriter::u16(std::uint16_t v) {
    buf_.push_back(static_cast<std::uint8_t>(v));
    buf_.push_back(static_cast<std::uint8_t>(v >> 8));
}

void ByteWriter::u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        buf_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void ByteWriter::u64(std::uint64_t v) {
    for (int i = 0; i < 8; ++i)
        buf_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void ByteWriter::f32(float v) {
    u32(std::bit_cast<std::uint32_t>(v));
}

void ByteWriter::f64(double v) {
    u64(std::bit_cast<std::uint64_t>(v));
}

void ByteWriter::text(std::string_view v) {
    buf_.insert(buf_.end(), reinterpret_cast<const std::uint8_t*>(v.data()),
                reinterpret_cast<const std::uint8_t*>(v.data()) + v.size());
}

void ByteWriter::patch(std::size_t pos, std::uint32_t v, int width) {
    for (int i = 0; i < width; ++i)
        buf_.at(pos + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace pln
