#include "common/byte_reader.h"

#include "common/error.h"

#include <bit>
#include <cstring>

namespace pln {

void ByteReader::need(std::size_t n) const {
    if (n > data_.size() - pos_)
        throw Error("Unexpected end of file");
}

std::uint8_t ByteReader::u8() {
    need(1);
    return data_[pos_++];
}

std::uint16_t ByteReader::u16() {
    need(2);
    auto v = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
}

std::uint32_t ByteReader::u32() {
    need(4);
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | data_[pos_ + static_cast<std::size_t>(i)];
    pos_ += 4;
    return v;
}

std::uint64_t ByteReader::u64() {
    need(8);
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | data_[pos_ + static_cast<std::size_t>(i)];
    pos_ += 8;
    return v;
}

float ByteReader::f32() {
    return std::bit_cast<float>(u32());
}

double ByteReader::f64() {
    return std::bit_cast<double>(u64());
}

std::vector<std::uint8_t> ByteReader::bytes(std::size_t n) {
    auto v = view(n);
    return {v.begin(), v.end()};
}

std::string ByteReader::text(std::size_t n) {
    auto v = view(n);
    return {reinterpret_cast<const char*>(v.data()), v.size()};
}

std::span<const std::uint8_t> ByteReader::view(std::size_t n) {
    need(n);
    auto v = data_.subspan(pos_, n);
    pos_ += n;
    return v;
}

void ByteReader::skip(std::size_t n) {
    need(n);
    pos_ += n;
}

void ByteReader::seek(std::size_t pos) {
    if (pos > data_.size())
        throw Error("Unexpected end of file");
    pos_ = pos;
}

} // namespace pln
