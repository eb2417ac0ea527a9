#pragma once

#include <cstdio>
#include <string>

namespace pln::test {

// The hash of the n-th test file as eMule's files spell it: n in 32 hex digits.
inline std::string hashOf(int n) {
    char text[33];
    std::snprintf(text, sizeof text, "%032X", n);
    return text;
}

} // namespace pln::test
