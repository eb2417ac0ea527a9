#include "kmedit/core/repair_link.h"

#include "common/hex_digit.h"
#include "common/text.h"

#include <charconv>

namespace pln {

namespace {

constexpr std::string_view linkStart = "ed2k://|file|";
constexpr std::size_t hashLength = 32;
constexpr std::string_view blanks = " \t\r\n";

bool isHexDigit(char c) {
    return hexDigit(c) >= 0;
}

bool isAlphanumeric(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

template <typename Pred> bool allOf(std::string_view text, Pred pred) {
    for (char c : text)
        if (!pred(c))
            return false;
    return true;
}

// A size is a plain decimal number that fits a signed 64-bit integer: no
// sign, no blanks.
std::optional<std::uint64_t> parseSize(std::string_view text) {
    std::int64_t value = 0;
    if (text.empty() || !allOf(text, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return static_cast<std::uint64_t>(value);
}

std::string_view trimmed(std::string_view text) {
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool isFileName(std::string_view name) {
    return name.find_first_of(std::string_view("\0\\/:*?\"<>|", 10)) == std::string_view::npos;
}

std::optional<tEd2kFileLink> parseLinkForm(std::string_view line) {
    if (!line.starts_with(linkStart))
        return std::nullopt;
    std::size_t nameEnd = line.find('|', linkStart.size());
    if (nameEnd == std::string_view::npos)
        return std::nullopt;
    std::size_t sizeEnd = line.find('|', nameEnd + 1);
    if (sizeEnd == std::string_view::npos)
        return std::nullopt;
    std::optional<std::uint64_t> size = parseSize(line.substr(nameEnd + 1, sizeEnd - nameEnd - 1));
    std::string_view rest = line.substr(sizeEnd + 1);
    if (!size || rest.size() < hashLength + 1 || rest[hashLength] != '|')
        return std::nullopt;
    std::string_view hash = rest.substr(0, hashLength);
    std::string_view tail = rest.substr(hashLength + 1);
    std::string_view aich;
    if (tail.size() == 2 + hashLength + 2 && tail.starts_with("h=") &&
        tail.substr(2 + hashLength) == "|/") {
        aich = tail.substr(2, hashLength);
        if (!allOf(aich, isAlphanumeric))
            return std::nullopt;
    } else if (tail != "/") {
        return std::nullopt;
    }
    if (!allOf(hash, isHexDigit))
        return std::nullopt;
    return tEd2kFileLink{decodeLinkName(line.substr(linkStart.size(), nameEnd - linkStart.size())),
                         *size, std::string(hash), std::string(aich)};
}

} // namespace

const char* const noLinkMessage = "No ed2k link";
const char* const notALinkMessage = "Not an ed2k link of a file: ";
const char* const forbiddenLinkNameMessage =
    "The file name of this link holds a character that is not allowed in windows filenames "
    "(NUL or \\ / : * ? \" < > |): ";

std::optional<tEd2kFileLink> parseEd2kLink(std::string_view line) {
    std::optional<tEd2kFileLink> link = parseLinkForm(line);
    if (link && !isFileName(link->name))
        return std::nullopt;
    return link;
}

std::optional<std::string> linkRefusal(std::string_view line) {
    std::optional<tEd2kFileLink> link = parseLinkForm(line);
    if (!link)
        return notALinkMessage + std::string(line);
    if (!isFileName(link->name))
        return forbiddenLinkNameMessage + std::string(line);
    return std::nullopt;
}

std::optional<std::string> linksRefusal(std::string_view text) {
    std::vector<std::string> lines = linkLines(text);
    if (lines.empty())
        return noLinkMessage;
    for (const std::string& line : lines)
        if (std::optional<std::string> refusal = linkRefusal(line))
            return refusal;
    return std::nullopt;
}

std::vector<std::string> linkLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = trimmed(text.substr(0, end));
        if (!line.empty())
            lines.emplace_back(line);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

bool linksAreValid(std::string_view text) {
    return !linksRefusal(text);
}

std::string decodeLinkName(std::string_view encoded) {
    std::string bytes;
    bytes.reserve(encoded.size());
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const int high =
            encoded[i] == '%' && i + 2 < encoded.size() ? hexDigit(encoded[i + 1]) : -1;
        const int low = high >= 0 ? hexDigit(encoded[i + 2]) : -1;
        if (low >= 0) {
            bytes += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            bytes += encoded[i];
        }
    }
    return isValidUtf8(bytes) ? bytes : cp1252ToUtf8(bytes);
}

} // namespace pln
