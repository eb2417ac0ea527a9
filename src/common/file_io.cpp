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

void writeNamedFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    try {
        replaceFileContents(path, bytes);
    } catch (const Error& e) {
        throw Error(fileFailure("write", path, e.what()));
    }
}

std::string tooLargeText(std::uint64_t limit) {
    return "The file is larger than " + std::to_string(limit >> 20) + " MiB";
}

std::string temporarySiblingName(const std::string& path) {
    std::random_device rd;
    return path + ".tmp" + std::to_string(rd() % 1000000u);
}

} // namespace pln
