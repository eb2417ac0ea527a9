#pragma once

#include <span>
#include <string>
#include <string_view>

namespace pln {

struct tPlaceholder {
    std::string_view key;
    std::string value;
    bool matchCase = false;
};

// The text with every occurrence of a key replaced by its value, in one pass
// from left to right: an inserted value is never searched again, so a file
// name that happens to hold a key keeps it. Where several keys match at one
// position the first of the list wins. Keys compare without regard to ASCII
// case unless they ask for an exact match.
std::string replacePlaceholders(std::string_view text, std::span<const tPlaceholder> placeholders);

} // namespace pln
