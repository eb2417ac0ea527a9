#pragma once

#include <cstddef>
#include <string>

namespace pln::settingKey {

// The keys of the viewer's settings, each spelled once for every part that
// reads or writes it.
inline constexpr const char* compressionThreshold = "compressionThreshold";
inline constexpr const char* lastCompressDate = "lastCompressDate";
inline constexpr const char* pointsPerPixel = "pointsPerPixel";
inline constexpr const char* deltaLum = "deltaLum";

// The colour of a graph slot.
inline std::string slotColour(std::size_t slot) {
    return "color" + std::to_string(slot);
}

} // namespace pln::settingKey
