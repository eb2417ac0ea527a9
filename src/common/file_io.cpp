#include "common/file_io.h"

#include "common/error.h"

#include <cstring>
#include <random>

namespace pln {

std::string systemErrorText(int error) {
    return std::strerror(error);
}

std::string fileFailure(const char* action, const std::string& path, const std::string& reason) {
    return std::string("Cannot ") + action + " \"" + path + "\": " + reason;
}

void writeNamedFile(const std::string& path, std::span<const std::uint8_t> bytes,
                    const char* action) {
    try {
        replaceFileContents(path, bytes);
    } catch (const Error& e) {
        throw Error(fileFailure(action, path, e.what()), e.kind());
    }
}

std::size_t FileReader::read(std::span<std::uint8_t> buffer) {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        std::size_t n = readSome(buffer.subspan(filled));
        if (n == 0)
            break;
        filled += n;
    }
    done_ += filled;
    if (done_ > limit_)
        throw FileReadError(fileFailure("read", path_, tooLargeText(limit_)));
    return filled;
}

std::vector<std::uint8_t> readWholeFile(const std::string& path, std::uint64_t limit) {
    FileReader file(path, limit);
    std::vector<std::uint8_t> data;
    data.reserve(static_cast<std::size_t>(file.size()));
    // A file that grew while it was read is read to its end all the same.
    std::uint8_t chunk[65536];
    while (std::size_t n = file.read(chunk))
        data.insert(data.end(), chunk, chunk + n);
    return data;
}

std::string tooLargeText(std::uint64_t limit) {
    return "The file is larger than " + std::to_string(limit >> 20) + " MiB";
}

std::string temporarySiblingName(const std::string& path) {
    std::random_device rd;
    return path + ".tmp" + std::to_string(rd() % 1000000u);
}

} // namespace pln
