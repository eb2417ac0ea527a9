#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pln {

// One value per call, with Windows profile semantics: section and key are
// compared without regard to case, the first match wins, blanks and one pair
// of surrounding quotes are stripped from the value. Files may be UTF-16LE
// with BOM, UTF-8 with BOM or 8-bit text; values come back as UTF-8. A write
// changes only its one line and keeps the rest of the file and its encoding.
class IniProfile {
public:
    virtual ~IniProfile() = default;

    // Empty when the file, the section or the key is absent or unreadable.
    virtual std::optional<std::string> read(const std::string& file, const std::string& section,
                                            const std::string& key) = 0;
    // False when the file could not be written.
    virtual bool write(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value) = 0;
    // Every section name in file order (empty when the file is unreadable).
    virtual std::vector<std::string> sections(const std::string& file) = 0;
    // Every key of a section in file order, first occurrence only.
    virtual std::vector<std::string> keys(const std::string& file, const std::string& section) = 0;
};

} // namespace pln
