#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

namespace pln {

// The bytes of a tag's text, blob or name in one 8-byte word. A big
// known.met holds millions of tags, mostly numbers with none of these, and
// a std::string or std::vector costs 24 to 40 bytes even when empty. Up to
// 7 bytes (a file type, a format) live in the word itself; longer ones in
// one allocation of a 4-byte length and the bytes, owned by the word. More
// than 4 GiB - 1 bytes, which no length field of the files could count,
// throws "A tag value is too long for known.met".
class tTagBytes {
public:
    static constexpr std::size_t inlineCapacity = 7;

    tTagBytes() = default;
    tTagBytes(const tTagBytes& other) { *this = other; }
    tTagBytes(tTagBytes&& other) noexcept : word_(std::exchange(other.word_, 0)) {}
    tTagBytes& operator=(const tTagBytes& other);
    tTagBytes& operator=(tTagBytes&& other) noexcept {
        std::swap(word_, other.word_);
        return *this;
    }
    ~tTagBytes() {
        if (onHeap())
            freeHeap();
    }

    tTagBytes& operator=(std::string_view bytes) {
        assign(bytes);
        return *this;
    }
    tTagBytes& operator=(std::span<const std::uint8_t> bytes) {
        assign({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        return *this;
    }

    std::size_t size() const { return view().size(); }
    bool empty() const { return size() == 0; }
    std::string_view view() const {
        if (word_ & inlineFlag)
            return {inlineBytes(), static_cast<std::size_t>((word_ >> 1) & inlineCapacity)};
        return word_ ? heapView() : std::string_view();
    }
    operator std::string_view() const { return view(); }
    operator std::span<const std::uint8_t>() const {
        const std::string_view v = view();
        return {reinterpret_cast<const std::uint8_t*>(v.data()), v.size()};
    }

    // Whether bytes were ever assigned since construction or reset: an empty
    // assignment counts, so a name can be present and empty.
    bool isSet() const { return word_ != 0; }
    void reset() {
        if (onHeap())
            freeHeap();
        word_ = 0;
    }

    friend bool operator==(const tTagBytes& a, const tTagBytes& b) { return a.view() == b.view(); }
    friend bool operator==(const tTagBytes& a, std::string_view b) { return a.view() == b; }

private:
    // The word is 0 for nothing, odd for inline bytes (their count in bits
    // 1..3, the bytes in the word's other 7 bytes of memory), and otherwise
    // a heap pointer, which allocation keeps even.
    static constexpr std::uint64_t inlineFlag = 1;
    // The low byte, which holds the flag and count, comes first in memory on
    // little-endian machines and last on big-endian ones.
    static constexpr std::size_t inlineOffset = std::endian::native == std::endian::little ? 1 : 0;

    bool onHeap() const { return word_ != 0 && !(word_ & inlineFlag); }
    const char* inlineBytes() const { return reinterpret_cast<const char*>(&word_) + inlineOffset; }
    void assign(std::string_view bytes);
    void freeHeap();
    std::string_view heapView() const;

    std::uint64_t word_ = 0;
};

// A tag's name: absent for a tag named by its id. Reads like an optional
// string whose value is the stored bytes.
class tTagName {
public:
    // What operator-> points at.
    struct Arrow {
        std::string_view value;
        const std::string_view* operator->() const { return &value; }
    };

    tTagName() = default;
    tTagName& operator=(std::string_view bytes) {
        bytes_ = bytes;
        return *this;
    }
    tTagName& operator=(std::nullopt_t) {
        bytes_.reset();
        return *this;
    }

    bool has_value() const { return bytes_.isSet(); }
    explicit operator bool() const { return has_value(); }
    std::string_view operator*() const { return bytes_.view(); }
    Arrow operator->() const { return {bytes_.view()}; }

    friend bool operator==(const tTagName& a, const tTagName& b) {
        return a.has_value() == b.has_value() && a.bytes_ == b.bytes_;
    }

private:
    tTagBytes bytes_;
};

} // namespace pln
