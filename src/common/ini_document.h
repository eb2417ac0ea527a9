#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

// The text of a Windows INI profile file, read and changed with the profile
// rules: section and key names compared without regard to ASCII case, the
// first matching section and the first matching key win, a value is the text
// after the first "=" without surrounding blanks and without one pair of
// surrounding quotes, lines starting with ";" are comments. Lines before the
// first section belong to no section. Every line keeps its bytes and its line
// ending until a change touches it, so the text serializes back unchanged.
class IniDocument {
public:
    IniDocument() = default;
    // Lines end at CR LF, LF or CR.
    explicit IniDocument(std::string_view utf8);

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Section names in file order (a repeated name is listed each time).
    std::vector<std::string> sections() const;
    // Keys of the first matching section in file order, each name once.
    std::vector<std::string> keys(std::string_view section) const;

    // Replaces the value of the first matching key, or adds the key at the
    // end of the section, or adds the section at the end of the text. False,
    // with nothing changed, when the names or the value cannot be stored so
    // that they read back the same (a line break anywhere, "=" in the key, "]"
    // in the section, an empty name, a key that would read as a comment or a
    // section).
    bool setValue(std::string_view section, std::string_view key, std::string_view value);

    std::string text() const;

private:
    struct Line {
        std::string content;
        std::string ending; // "\r\n", "\n", "\r" or "" for a last line without one
    };
    struct Range {
        std::size_t header; // index of the section line
        std::size_t end;    // one past the last line of the section
    };

    std::optional<Range> findSection(std::string_view section) const;
    std::optional<std::size_t> findKey(const Range& range, std::string_view key) const;
    std::string lineEnding() const;

    std::vector<Line> lines_;
};

} // namespace pln
