#include "logstore/core/multiplier.h"

#include "common/missing_value.h"
#include "common/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace pln {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number in the plain form from_chars reads, or empty when the text has
// any other shape (from_chars alone would also take "inf" and "nan").
std::optional<std::string> normalised(std::string_view text, char decimalSeparator) {
    std::string out;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            out += '-';
        ++i;
    }
    std::size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits)
        out += text[i];
    if (i < text.size() && (text[i] == decimalSeparator || text[i] == '.')) {
        out += '.';
        for (++i; i < text.size() && isDigit(text[i]); ++i, ++digits)
            out += text[i];
    }
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        out += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            out += text[i++];
        std::size_t exponentDigits = 0;
        for (; i < text.size() && isDigit(text[i]); ++i, ++exponentDigits)
            out += text[i];
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    return out;
}

} // namespace

std::optional<double> parseDecimal(std::string_view text, char decimalSeparator) {
    auto plain = normalised(text, decimalSeparator);
    if (!plain)
        return std::nullopt;
    double value = 0;
    auto [end, error] = std::from_chars(plain->data(), plain->data() + plain->size(), value);
    if (error != std::errc() || end != plain->data() + plain->size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isDecimalText(std::string_view text) {
    return normalised(text, '.').has_value();
}

std::string formatNumber(double value, char decimalSeparator) {
    // The same text as printf's "%g", but free of the C library's locale.
    char text[64];
    auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6).ptr;
    std::string out(text, end);
    if (decimalSeparator != '.')
        std::replace(out.begin(), out.end(), '.', decimalSeparator);
    return out;
}

double editedMultiplier(std::string_view text, std::string_view shown, double stored,
                        char decimalSeparator) {
    if (text != shown)
        return getMultiplier(text, decimalSeparator);
    return std::isfinite(stored) && stored != 0 ? stored : missingValue();
}

double getMultiplier(std::string_view text, char decimalSeparator) {
    std::string rest = trimControl(text);
    if (rest.empty())
        return missingValue();
    double accumulator = 1;
    char pending = 0;
    while (!rest.empty()) {
        std::size_t op = rest.find_first_of("*/");
        std::string term = trimControl(std::string_view(rest).substr(0, op));
        std::string after = op == std::string::npos
                                ? std::string()
                                : trimControl(std::string_view(rest).substr(op + 1));
        if (term.empty() || (op != std::string::npos && after.empty()))
            return missingValue();
        auto value = parseDecimal(term, decimalSeparator);
        if (!value)
            return missingValue();
        if (pending == 0)
            accumulator = *value;
        else if (pending == '*')
            accumulator *= *value;
        else if (*value == 0)
            return missingValue();
        else
            accumulator /= *value;
        pending = op == std::string::npos ? 0 : rest[op];
        rest = after;
    }
    if (accumulator == 0 || !std::isfinite(accumulator))
        return missingValue();
    return accumulator;
}

} // namespace pln
