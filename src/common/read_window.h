#pragma once

#include "common/byte_reader.h"
#include "common/error.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace pln {

class FileReader;

// Consecutive items parsed from bytes held in memory or read from a file a
// window at a time, so that a large file is never held whole beside what is
// parsed from it. An item that fails to parse is parsed again with more of
// the file, until the window holds all the rest: then its error stands. An
// item parsed from a window therefore comes out as from the whole input, and
// a failure is the one the whole input gives.
class tReadWindow {
public:
    explicit tReadWindow(std::span<const std::uint8_t> bytes)
        : bytes_(bytes), size_(bytes.size()) {}
    tReadWindow(FileReader& file, std::size_t chunkSize);

    // The bytes after the items parsed so far, as far as the input's size
    // tells when it was opened.
    std::uint64_t remaining() const {
        std::uint64_t parsed = consumed_ + start_;
        return size_ > parsed ? size_ - parsed : 0;
    }

    // Parses the next item through parse(ByteReader&), which throws Error
    // when the bytes it is given do not hold the item.
    template <typename Parse> auto next(Parse&& parse) {
        for (;;) {
            ByteReader in(bytes_.subspan(start_));
            try {
                auto item = parse(in);
                start_ += in.position();
                return item;
            } catch (const Error&) {
                if (!extend())
                    throw;
            }
        }
    }

private:
    // Drops the parsed bytes and reads more; false at the end of the input.
    bool extend();

    FileReader* file_ = nullptr;
    std::size_t chunkSize_ = 0;
    std::vector<std::uint8_t> buffer_;
    std::span<const std::uint8_t> bytes_;
    std::uint64_t size_ = 0;
    // Bytes dropped before the window, and parsed within it.
    std::uint64_t consumed_ = 0;
    std::size_t start_ = 0;
};

} // namespace pln
