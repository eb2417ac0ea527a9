#include "links/core/placeholder_text.h"

#include "common/text.h"

namespace pln {

namespace {

bool matchesAt(std::string_view text, std::size_t pos, const tPlaceholder& p) {
    if (p.key.empty() || text.size() - pos < p.key.size())
        return false;
    std::string_view candidate = text.substr(pos, p.key.size());
    return p.matchCase ? candidate == p.key : iequals(candidate, p.key);
}

} // namespace

std::string replacePlaceholders(std::string_view text, std::span<const tPlaceholder> placeholders) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const tPlaceholder* found = nullptr;
        for (const auto& p : placeholders) {
            if (matchesAt(text, pos, p)) {
                found = &p;
                break;
            }
        }
        if (found) {
            out += found->value;
            pos += found->key.size();
        } else {
            out += text[pos++];
        }
    }
    return out;
}

} // namespace pln
