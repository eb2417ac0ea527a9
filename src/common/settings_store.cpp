#include "common/settings_store.h"

#include <charconv>

namespace pln {

std::string tSettingsStore::text(const std::string& key, const std::string& fallback) const {
    return read(key).value_or(fallback);
}

int tSettingsStore::get(const tIntSetting& key) const {
    const std::optional<std::string> stored = read(key.name);
    if (!stored)
        return key.fallback;
    return leadingInteger(*stored).value_or(key.fallback);
}

std::optional<int> leadingInteger(const std::string& text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        negative = text[pos++] == '-';
    std::size_t end = pos;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    if (end == pos)
        return std::nullopt;
    // Parsed with its sign so that the most negative int still fits.
    const std::string digits = (negative ? "-" : "") + text.substr(pos, end - pos);
    int value = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || ptr != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

} // namespace pln
