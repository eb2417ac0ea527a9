#include "common/error.h"

namespace pln {

ErrorKind errorKindOf(const std::exception& e) {
    const auto* error = dynamic_cast<const Error*>(&e);
    return error ? error->kind() : ErrorKind::general;
}

std::string format(const std::string& pattern, std::initializer_list<std::string> values) {
    std::string out;
    out.reserve(pattern.size() + 64);
    auto next = values.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' &&
            next != values.end()) {
            out += *next++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace pln
