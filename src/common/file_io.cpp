#include "common/file_io.h"

#include <cstring>
#include <random>

namespace pln {

std::string systemErrorText(int error) {
    return std::strerror(error);
}

std::string temporarySiblingName(const std::string& path) {
    std::random_device rd;
    return path + ".tmp" + std::to_string(rd() % 1000000u);
}

} // namespace pln
