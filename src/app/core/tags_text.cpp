#include "app/core/tags_text.h"

#include "emulefiles/core/known_met_record.h"
#include "emulefiles/core/tag_names.h"

#include <algorithm>

namespace pln {

namespace {

constexpr std::size_t nameWidth = 32;
constexpr std::size_t typeColumn = 33;
constexpr std::size_t valueColumn = 43;

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t characterCount(const std::string& utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return !isContinuationByte(c); }));
}

// The first characters of UTF-8 text, never splitting a character.
std::string firstCharacters(const std::string& utf8, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (!isContinuationByte(utf8[i]) && seen++ == count)
            return utf8.substr(0, i);
    }
    return utf8;
}

void padTo(std::string& line, std::size_t width) {
    const std::size_t have = characterCount(line);
    if (have < width)
        line.append(width - have, ' ');
}

void appendLine(std::string& text, const std::string& name, std::string_view type,
                const std::string& value) {
    std::string line = firstCharacters(name, nameWidth);
    padTo(line, typeColumn);
    line += type;
    padTo(line, valueColumn);
    text += line + value + "\r\n";
}

std::string tagValue(const tKnownMetTag& tag, const tNumberFormat& numbers) {
    switch (tag.tagType) {
    case tagType::string:
        return tag.getText();
    case tagType::uint32:
    case tagType::uint64:
        return numbers.integer(tag.intValue);
    case tagType::float32:
        return numbers.real(tag.floatValue);
    default:
        return {};
    }
}

} // namespace

std::vector<const tKnownMetRecord*>
tagRecords(const tKnownMetRecord* reference1, const tKnownMetRecord* reference2,
           const std::vector<const tKnownMetRecord*>& selected) {
    std::vector<const tKnownMetRecord*> shown;
    auto offer = [&](const tKnownMetRecord* record) {
        if (record && shown.size() < maxTagRecords &&
            std::find(shown.begin(), shown.end(), record) == shown.end())
            shown.push_back(record);
    };
    offer(reference1);
    offer(reference2);
    for (const tKnownMetRecord* record : selected)
        offer(record);
    return shown;
}

std::string recordTagsText(const tKnownMetRecord& record, const tNumberFormat& numbers) {
    std::string text;
    appendLine(text, "HASH", "HASH", record.hash.toString());
    for (const tKnownMetTag& tag : record.tags)
        appendLine(text, knownMetTagLabel(tag), knownMetTagTypeName(tag.tagType),
                   tagValue(tag, numbers));
    return text;
}

std::string tagsText(const std::vector<const tKnownMetRecord*>& records,
                     const tNumberFormat& numbers) {
    std::string text;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0)
            text += "\r\n" + std::string(200, '-') + "\r\n\r\n";
        text += recordTagsText(*records[i], numbers);
    }
    return text;
}

} // namespace pln
