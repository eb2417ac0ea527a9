#pragma once

namespace pln {

// The value of one hexadecimal digit of either case, or -1 for any other
// character, so that callers can validate and convert in one step.
inline int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace pln
