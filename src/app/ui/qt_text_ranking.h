#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace pln {

// Ranks texts as the user's locale collates them, ignoring case (a
// tTextRanking). Each text is collated once into a sort key; the keys are
// then compared without further collation.
std::vector<std::uint32_t> rankInUserOrder(const std::vector<std::string_view>& texts);

} // namespace pln
