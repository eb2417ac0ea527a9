#include "common/ini_document.h"

#include "common/text.h"

namespace pln {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<std::string_view> sectionName(std::string_view content) {
    std::string_view line = trimBlanks(content);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    std::size_t close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trimBlanks(line.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::size_t equals; // position of the "=" in the line
};

std::optional<KeyLine> keyLine(std::string_view content) {
    std::string_view line = trimBlanks(content);
    if (line.empty() || line.front() == ';' || line.front() == '[')
        return std::nullopt;
    std::size_t equals = content.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    std::string_view key = trimBlanks(content.substr(0, equals));
    if (key.empty())
        return std::nullopt;
    return KeyLine{key, equals};
}

std::string_view unquote(std::string_view raw) {
    std::string_view value = trimBlanks(raw);
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == '"' || value.front() == '\''))
        return value.substr(1, value.size() - 2);
    return value;
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != text.npos;
}

bool storableSection(std::string_view section) {
    return !section.empty() && trimBlanks(section) == section && !hasLineBreak(section) &&
           section.find(']') == section.npos;
}

bool storableKey(std::string_view key) {
    return !key.empty() && trimBlanks(key) == key && !hasLineBreak(key) &&
           key.find('=') == key.npos && key.front() != ';' && key.front() != '[';
}

// A value that the reading rules would alter (surrounding blanks or quotes)
// is wrapped in one pair of quotes, which reading strips again.
std::string storedValue(std::string_view value) {
    if (unquote(value) == value)
        return std::string(value);
    return "\"" + std::string(value) + "\"";
}

} // namespace

IniDocument::IniDocument(std::string_view utf8) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '\r' && utf8[i] != '\n')
            continue;
        std::size_t endingSize =
            utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n' ? 2 : 1;
        lines_.push_back(
            {std::string(utf8.substr(start, i - start)), std::string(utf8.substr(i, endingSize))});
        i += endingSize - 1;
        start = i + 1;
    }
    if (start < utf8.size())
        lines_.push_back({std::string(utf8.substr(start)), ""});
}

std::optional<IniDocument::Range> IniDocument::findSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto name = sectionName(lines_[i].content);
        if (!name || !iequals(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && !sectionName(lines_[end].content))
            ++end;
        return Range{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniDocument::findKey(const Range& range, std::string_view key) const {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        auto line = keyLine(lines_[i].content);
        if (line && iequals(line->key, key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    auto range = findSection(section);
    if (!range)
        return std::nullopt;
    auto index = findKey(*range, key);
    if (!index)
        return std::nullopt;
    const std::string& content = lines_[*index].content;
    return std::string(unquote(std::string_view(content).substr(keyLine(content)->equals + 1)));
}

std::vector<std::string> IniDocument::sections() const {
    std::vector<std::string> names;
    for (const Line& line : lines_)
        if (auto name = sectionName(line.content))
            names.emplace_back(*name);
    return names;
}

std::vector<std::string> IniDocument::keys(std::string_view section) const {
    std::vector<std::string> names;
    auto range = findSection(section);
    if (!range)
        return names;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        auto line = keyLine(lines_[i].content);
        if (!line)
            continue;
        bool seen = false;
        for (const std::string& name : names)
            seen = seen || iequals(name, line->key);
        if (!seen)
            names.emplace_back(line->key);
    }
    return names;
}

std::string IniDocument::lineEnding() const {
    for (const Line& line : lines_)
        if (!line.ending.empty())
            return line.ending;
    return "\r\n";
}

bool IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    if (!storableSection(section) || !storableKey(key) || hasLineBreak(value))
        return false;
    std::string stored = storedValue(value);
    std::string ending = lineEnding();
    auto range = findSection(section);
    if (!range) {
        if (!lines_.empty() && lines_.back().ending.empty())
            lines_.back().ending = ending;
        lines_.push_back({"[" + std::string(section) + "]", ending});
        lines_.push_back({std::string(key) + "=" + stored, ending});
        return true;
    }
    if (auto index = findKey(*range, key)) {
        std::string& content = lines_[*index].content;
        std::size_t valueStart = keyLine(content)->equals + 1;
        while (valueStart < content.size() && isBlank(content[valueStart]))
            ++valueStart;
        content = content.substr(0, valueStart) + stored;
        return true;
    }
    std::size_t last = range->header;
    for (std::size_t i = range->header + 1; i < range->end; ++i)
        if (!trimBlanks(lines_[i].content).empty())
            last = i;
    if (lines_[last].ending.empty())
        lines_[last].ending = ending;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1),
                  Line{std::string(key) + "=" + stored, ending});
    return true;
}

std::string IniDocument::text() const {
    std::string out;
    for (const Line& line : lines_)
        out += line.content + line.ending;
    return out;
}

} // namespace pln
