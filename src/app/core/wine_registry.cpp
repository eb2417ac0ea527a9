#include "app/core/wine_registry.h"

#include "common/hex_digit.h"
#include "common/lines.h"
#include "common/text.h"

#include <charconv>

namespace pln {

namespace {

void appendCodeUnit(std::string& utf16, std::uint16_t unit) {
    utf16 += static_cast<char>(unit & 0xFF);
    utf16 += static_cast<char>(unit >> 8);
}

// A quoted string starting after its opening quote at i, with Wine's escapes
// (\\, \", \n, \r, \t, \0 and \x followed by up to four hexadecimal digits of
// a UTF-16 code unit); i ends after the closing quote. Empty when unclosed.
std::optional<std::string> quoted(std::string_view line, std::size_t& i) {
    std::string utf16;
    while (i < line.size()) {
        char c = line[i++];
        if (c == '"') {
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf16.data());
            return utf16leToUtf8({bytes, utf16.size()});
        }
        if (c == '\\' && i < line.size()) {
            c = line[i++];
            if (c == 'x') {
                std::uint16_t unit = 0;
                for (int n = 0; n < 4 && i < line.size() && hexDigit(line[i]) >= 0; ++n)
                    unit = static_cast<std::uint16_t>(unit * 16 + hexDigit(line[i++]));
                appendCodeUnit(utf16, unit);
                continue;
            }
            c = c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c == '0' ? '\0' : c;
        }
        appendCodeUnit(utf16, static_cast<unsigned char>(c));
    }
    return std::nullopt;
}

std::string lookupKey(std::string_view key, std::string_view value) {
    return foldCase(key) + '\0' + foldCase(value);
}

// "[Software\\eMule] 1700000000": the key name, unescaped.
std::optional<std::string> keyName(std::string_view line) {
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    std::string name;
    for (std::size_t i = 1; i < close; ++i) {
        if (line[i] == '\\' && i + 1 < close && line[i + 1] == '\\')
            ++i;
        name += line[i];
    }
    return name;
}

} // namespace

tWineRegistry tWineRegistry::parse(std::string_view text) {
    tWineRegistry registry;
    std::string key;
    for (const std::string_view line : splitLines(text)) {
        if (!line.empty() && line.front() == '[') {
            key = keyName(line).value_or(std::string());
            continue;
        }
        std::size_t i = 1;
        if (key.empty() || line.empty() || line.front() != '"')
            continue;
        auto name = quoted(line, i);
        if (!name || i >= line.size() || line[i] != '=')
            continue;
        registry.values_[lookupKey(key, *name)] = std::string(line.substr(i + 1));
    }
    return registry;
}

std::optional<std::string> tWineRegistry::text(std::string_view key, std::string_view value) const {
    auto it = values_.find(lookupKey(key, value));
    if (it == values_.end())
        return std::nullopt;
    std::string_view data = it->second;
    if (data.starts_with("str(2):"))
        data.remove_prefix(7);
    std::size_t i = 1;
    if (data.empty() || data.front() != '"')
        return std::nullopt;
    return quoted(data, i);
}

std::optional<std::int32_t> tWineRegistry::dword(std::string_view key,
                                                 std::string_view value) const {
    auto it = values_.find(lookupKey(key, value));
    constexpr std::string_view prefix = "dword:";
    if (it == values_.end() || !std::string_view(it->second).starts_with(prefix))
        return std::nullopt;
    std::string_view digits = std::string_view(it->second).substr(prefix.size());
    std::uint32_t number = 0;
    auto [stop, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
    if (error != std::errc() || stop != digits.data() + digits.size() || digits.size() > 8)
        return std::nullopt;
    return static_cast<std::int32_t>(number);
}

} // namespace pln
