#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace pln {

// The string and dword values of a Wine registry file (a prefix's
// "user.reg"), looked up as Windows does: key and value names without regard
// to case. Lines that are not understood are passed over.
class tWineRegistry {
public:
    static tWineRegistry parse(std::string_view text);

    // key as Windows writes it, "Software\eMule".
    std::optional<std::string> text(std::string_view key, std::string_view value) const;
    std::optional<std::int32_t> dword(std::string_view key, std::string_view value) const;

private:
    std::map<std::string, std::string> values_; // folded "key\0value" -> raw data
};

} // namespace pln
