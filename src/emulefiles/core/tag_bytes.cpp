#include "emulefiles/core/tag_bytes.h"

#include "common/error.h"

#include <cstring>
#include <new>
#include <utility>

namespace pln {

namespace {

static_assert(__STDCPP_DEFAULT_NEW_ALIGNMENT__ >= 2, "heap pointers must be even");

constexpr std::size_t lengthSize = sizeof(std::uint32_t);

} // namespace

// A copy of nothing is nothing, not empty bytes: a copied tag keeps an
// absent name absent.
tTagBytes& tTagBytes::operator=(const tTagBytes& other) {
    if (!other.isSet())
        reset();
    else if (this != &other)
        assign(other.view());
    return *this;
}

std::string_view tTagBytes::heapView() const {
    const char* block = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(word_));
    std::uint32_t length = 0;
    std::memcpy(&length, block, lengthSize);
    return {block + lengthSize, length};
}

// The new bytes are copied before the old ones are released: they may be
// this object's own.
void tTagBytes::assign(std::string_view bytes) {
    std::uint64_t word = 0;
    if (bytes.size() <= inlineCapacity) {
        word = bytes.size() << 1 | inlineFlag;
        std::memcpy(reinterpret_cast<char*>(&word) + inlineOffset, bytes.data(), bytes.size());
    } else {
        if (std::uint64_t{bytes.size()} > 0xFFFFFFFFu)
            throw Error("A tag value is too long for known.met");
        const auto length = static_cast<std::uint32_t>(bytes.size());
        char* block = static_cast<char*>(::operator new(lengthSize + bytes.size()));
        std::memcpy(block, &length, lengthSize);
        std::memcpy(block + lengthSize, bytes.data(), bytes.size());
        word = reinterpret_cast<std::uintptr_t>(block);
    }
    reset();
    word_ = word;
}

void tTagBytes::freeHeap() {
    ::operator delete(reinterpret_cast<char*>(static_cast<std::uintptr_t>(word_)));
}

} // namespace pln
