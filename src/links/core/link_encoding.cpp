#include "links/core/link_encoding.h"

namespace pln {

namespace {

bool isAsciiAlphanumeric(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void appendEscaped(std::string& out, unsigned char c) {
    static constexpr char digits[] = "0123456789ABCDEF";
    out += '%';
    out += digits[c >> 4];
    out += digits[c & 0x0F];
}

} // namespace

std::string linkEncode(std::string_view text) {
    static constexpr std::string_view kept = "!$'()*+,-._";
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (isAsciiAlphanumeric(c) || kept.find(static_cast<char>(c)) != std::string_view::npos)
            out += static_cast<char>(c);
        else
            appendEscaped(out, c);
    }
    return out;
}

std::string formEncode(std::string_view text) {
    static constexpr std::string_view kept = "-._*";
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (isAsciiAlphanumeric(c) || kept.find(static_cast<char>(c)) != std::string_view::npos)
            out += static_cast<char>(c);
        else if (c == ' ')
            out += '+';
        else
            appendEscaped(out, c);
    }
    return out;
}

std::string htmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace pln
