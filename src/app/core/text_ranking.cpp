#include "app/core/text_ranking.h"

#include "common/text.h"

#include <algorithm>
#include <string>

namespace pln {

std::vector<std::uint32_t> rankIgnoringAsciiCase(const std::vector<std::string_view>& texts) {
    std::vector<std::string> folded;
    folded.reserve(texts.size());
    for (std::string_view text : texts)
        folded.push_back(toLowerAscii(text));
    return rankBy(texts.size(),
                  [&](std::uint32_t a, std::uint32_t b) { return folded[a] < folded[b]; });
}

} // namespace pln
