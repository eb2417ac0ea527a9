#pragma once

#include <cstdint>

namespace pln {

// A colour as 0x00BBGGRR, the form the settings store. The system window
// colour marks an item that is not drawn; it is a value no real colour takes.
using tColour = std::uint32_t;

inline constexpr tColour clWindow = 0xFF000005u;

} // namespace pln
