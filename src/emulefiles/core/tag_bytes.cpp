#include "emulefiles/core/tag_bytes.h"

#include "common/error.h"

#include <bit>
#include <cstring>
#include <new>
#include <utility>

namespace pln {

namespace {

static_assert(__STDCPP_DEFAULT_NEW_ALIGNMENT__ >= 2, "heap pointers must be even");

constexpr unsigned char inlineFlag = 1;
constexpr std::size_t lengthSize = sizeof(std::uint32_t);

std::uint64_t loadWord(const unsigned char* word) {
    std::uint64_t value = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&value, word, sizeof value);
        return value;
    }
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | word[i];
    return value;
}

void storeWord(unsigned char* word, std::uint64_t value) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(word, &value, sizeof value);
        return;
    }
    for (int i = 0; i < 8; ++i, value >>= 8)
        word[i] = static_cast<unsigned char>(value);
}

} // namespace

// A copy of nothing is nothing, not empty bytes: a copied tag keeps an
// absent name absent.
tTagBytes& tTagBytes::operator=(const tTagBytes& other) {
    if (!other.isSet())
        release();
    else if (this != &other)
        assign(other.view());
    return *this;
}

tTagBytes& tTagBytes::operator=(tTagBytes&& other) noexcept {
    tTagBytes taken(std::move(other));
    swap(taken);
    return *this;
}

std::string_view tTagBytes::view() const {
    if (word_[0] & inlineFlag)
        return {reinterpret_cast<const char*>(word_ + 1), std::size_t{word_[0]} >> 1};
    const char* block = heap();
    if (!block)
        return {};
    std::uint32_t length = 0;
    std::memcpy(&length, block, lengthSize);
    return {block + lengthSize, length};
}

// The new bytes are copied before the old ones are released: they may be
// this object's own.
void tTagBytes::assign(std::string_view bytes) {
    unsigned char word[8] = {};
    if (bytes.size() <= inlineCapacity) {
        word[0] = static_cast<unsigned char>(bytes.size() << 1 | inlineFlag);
        std::memcpy(word + 1, bytes.data(), bytes.size());
    } else {
        if (std::uint64_t{bytes.size()} > 0xFFFFFFFFu)
            throw Error("A tag value is too long for known.met");
        const auto length = static_cast<std::uint32_t>(bytes.size());
        char* block = static_cast<char*>(::operator new(lengthSize + bytes.size()));
        std::memcpy(block, &length, lengthSize);
        std::memcpy(block + lengthSize, bytes.data(), bytes.size());
        storeWord(word, reinterpret_cast<std::uintptr_t>(block));
    }
    release();
    std::memcpy(word_, word, sizeof word_);
}

void tTagBytes::release() {
    if (!(word_[0] & inlineFlag))
        ::operator delete(const_cast<char*>(heap()));
    std::memset(word_, 0, sizeof word_);
}

void tTagBytes::swap(tTagBytes& other) noexcept {
    std::swap(word_, other.word_);
}

const char* tTagBytes::heap() const {
    return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(loadWord(word_)));
}

} // namespace pln
