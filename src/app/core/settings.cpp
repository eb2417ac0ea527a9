#include "app/core/settings.h"

#include <charconv>

namespace pln {

tSettings::tSettings(IniProfile& ini, std::string fileName)
    : ini_(ini), fileName_(std::move(fileName)) {}

std::string tSettings::getIniString(const std::string& key, const std::string& defaultValue) const {
    return ini_.read(fileName_, settingsSection, key).value_or(defaultValue);
}

void tSettings::setIniString(const std::string& key, const std::string& value) {
    ini_.write(fileName_, settingsSection, key, value);
}

int tSettings::getIniInt(const std::string& key, int defaultValue) const {
    const auto text = ini_.read(fileName_, settingsSection, key);
    if (!text)
        return defaultValue;
    return leadingInteger(*text).value_or(defaultValue);
}

void tSettings::setIniInt(const std::string& key, int value) {
    setIniString(key, std::to_string(value));
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
