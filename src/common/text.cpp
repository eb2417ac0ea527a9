#include "common/text.h"

#include "common/case_fold.h"

#include <array>

namespace pln {

namespace {

// Code points of bytes 0x80..0x9F in Windows-1252; the undefined ones keep
// their own value.
constexpr std::array<char32_t, 32> cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at i; returns false (and advances one byte) on
// an ill-formed sequence.
bool nextUtf8(std::string_view s, std::size_t& i, char32_t& c) {
    auto b = static_cast<unsigned char>(s[i]);
    int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + static_cast<std::size_t>(len) > s.size()) {
        ++i;
        return false;
    }
    c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k < len; ++k) {
        auto cb = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((cb & 0xC0) != 0x80) {
            ++i;
            return false;
        }
        c = (c << 6) | (cb & 0x3F);
    }
    static constexpr char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < minimum[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return false;
    }
    i += static_cast<std::size_t>(len);
    return true;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

} // namespace

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else if (b < 0xA0)
            appendUtf8(out, cp1252High[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

std::optional<std::string> utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        if (!nextUtf8(utf8, i, c))
            return std::nullopt;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        bool found = false;
        for (std::size_t k = 0; k < cp1252High.size(); ++k) {
            if (cp1252High[k] == c) {
                out += static_cast<char>(0x80 + k);
                found = true;
                break;
            }
        }
        if (!found)
            return std::nullopt;
    }
    return out;
}

std::string utf16leToUtf8(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t n = bytes.size() / 2;
    for (std::size_t i = 0; i < n; ++i) {
        char32_t u = bytes[2 * i] | (bytes[2 * i + 1] << 8);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n) {
            char32_t lo = bytes[2 * i + 2] | (bytes[2 * i + 3] << 8);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
    }
    return out;
}

std::string utf8ToUtf16le(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() * 2);
    auto unit = [&out](char32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0xFFFD;
        nextUtf8(utf8, i, c) || (c = 0xFFFD);
        if (c >= 0x10000) {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit(c);
        }
    }
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t c = 0;
        if (!nextUtf8(bytes, i, c))
            return false;
    }
    return true;
}

std::string sanitizeUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t c = 0;
        appendUtf8(out, nextUtf8(bytes, i, c) ? c : 0xFFFD);
    }
    return out;
}

bool isAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

std::string decodeEmuleString(std::string_view stored) {
    if (stored.size() >= 3 && stored.substr(0, 3) == utf8Bom)
        return sanitizeUtf8(stored.substr(3));
    return cp1252ToUtf8(stored);
}

std::string encodeEmuleString(std::string_view utf8) {
    if (isAscii(utf8))
        return std::string(utf8);
    return std::string(utf8Bom) + std::string(utf8);
}

TextEncoding detectEncoding(std::string_view fileBytes) {
    if (fileBytes.size() >= 2 && fileBytes[0] == '\xFF' && fileBytes[1] == '\xFE')
        return TextEncoding::Utf16LeBom;
    if (fileBytes.substr(0, 3) == utf8Bom)
        return TextEncoding::Utf8Bom;
    return TextEncoding::Ansi;
}

std::string decodeTextFile(std::string_view fileBytes) {
    switch (detectEncoding(fileBytes)) {
    case TextEncoding::Utf16LeBom:
        return utf16leToUtf8(
            {reinterpret_cast<const std::uint8_t*>(fileBytes.data()) + 2, fileBytes.size() - 2});
    case TextEncoding::Utf8Bom:
        return sanitizeUtf8(fileBytes.substr(3));
    case TextEncoding::Ansi:
        break;
    }
    return cp1252ToUtf8(fileBytes);
}

std::string encodeTextFile(std::string_view utf8, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf16LeBom:
        return std::string("\xFF\xFE") + utf8ToUtf16le(utf8);
    case TextEncoding::Utf8Bom:
        return std::string(utf8Bom) + std::string(utf8);
    case TextEncoding::Ansi:
        break;
    }
    // Characters that Windows-1252 cannot hold keep the file readable by
    // falling back to UTF-8 with its byte-order mark.
    if (auto ansi = utf8ToCp1252(utf8))
        return *ansi;
    return std::string(utf8Bom) + std::string(utf8);
}

std::string toLowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = asciiLower(c);
    return out;
}

std::string toUpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return out;
}

int icompare(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto ca = static_cast<unsigned char>(asciiLower(a[i]));
        auto cb = static_cast<unsigned char>(asciiLower(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool iequals(std::string_view a, std::string_view b) {
    return a.size() == b.size() && icompare(a, b) == 0;
}

bool istartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && iequals(text.substr(0, prefix.size()), prefix);
}

std::string foldCase(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        char32_t c = 0;
        if (nextUtf8(utf8, i, c))
            appendUtf8(out, foldCodePoint(c));
        else
            out += utf8[start];
    }
    return out;
}

std::string trimControl(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 0x20)
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 0x20)
        --e;
    return std::string(text.substr(b, e - b));
}

} // namespace pln
