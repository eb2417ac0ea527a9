#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace pln {

// Ranks texts in the order the user reads them: rank i is below rank j
// exactly when text i sorts before text j, and texts that compare equal
// share a rank. The lists sort on ranks so that a sort of many rows compares
// integers rather than collating text again and again.
using tTextRanking =
    std::function<std::vector<std::uint32_t>(const std::vector<std::string_view>&)>;

// Case-insensitive byte order after ASCII folding, for programs that have no
// user locale at hand.
std::vector<std::uint32_t> rankIgnoringAsciiCase(const std::vector<std::string_view>& texts);

// Ranks from any ordering: less(a, b) tells whether a sorts before b.
template <class Less> std::vector<std::uint32_t> rankBy(std::size_t count, Less less) {
    std::vector<std::uint32_t> byOrder(count);
    for (std::size_t i = 0; i < count; ++i)
        byOrder[i] = static_cast<std::uint32_t>(i);
    std::stable_sort(byOrder.begin(), byOrder.end(), less);
    std::vector<std::uint32_t> ranks(count);
    std::uint32_t rank = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && less(byOrder[i - 1], byOrder[i]))
            ++rank;
        ranks[byOrder[i]] = rank;
    }
    return ranks;
}

} // namespace pln
