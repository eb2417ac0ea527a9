#pragma once

#include "common/settings_store.h"

#include <cstddef>
#include <string>

namespace pln::settingKey {

// Every setting of the viewer, spelled once with its fallback for every part
// that reads or writes it.
inline constexpr tIntSetting compressionThreshold{"compressionThreshold", 30};
inline constexpr tTextSetting lastCompressDate{"lastCompressDate", ""};
inline constexpr tIntSetting pointsPerPixel{"pointsPerPixel", 4};
inline constexpr tIntSetting showTips{"showTips", 1};
inline constexpr tTextSetting copyFormat{"copyFormat", ""};
// The lightness offset of the known files' shades; its fallback is the
// design's offset written as the colours dialog stores it.
inline constexpr const char* deltaLum = "deltaLum";

// The colour of a graph slot.
inline std::string slotColour(std::size_t slot) {
    return "color" + std::to_string(slot);
}

} // namespace pln::settingKey
