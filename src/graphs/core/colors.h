#pragma once

#include "common/colour.h"
#include "common/settings_store.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pln {

class Prompter;

// The ten colour slots: 0 the events, 1..3 the known files, 4..9 the stats
// logs. Slot i colours series i of the transferred chart.
inline constexpr std::size_t colorSlotCount = 10;
inline constexpr std::size_t eventsSlot = 0;
inline constexpr std::size_t firstKnownFileSlot = 1;
inline constexpr std::size_t firstStatisticsSlot = 4;
inline constexpr std::size_t requestsSeriesCount = 13;

using tSlotColours = std::array<tColour, colorSlotCount>;
using tRequestsColours = std::array<tColour, requestsSeriesCount>;

constexpr tColour rgbColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return tColour(red) | (tColour(green) << 8) | (tColour(blue) << 16);
}
constexpr std::uint8_t redOf(tColour colour) {
    return colour & 0xFF;
}
constexpr std::uint8_t greenOf(tColour colour) {
    return (colour >> 8) & 0xFF;
}
constexpr std::uint8_t blueOf(tColour colour) {
    return (colour >> 16) & 0xFF;
}

inline constexpr tSlotColours designSlotColours = {
    rgbColour(0x80, 0xFF, 0xFF), rgbColour(0xFF, 0x00, 0x00), rgbColour(0x00, 0x9B, 0xE6),
    rgbColour(0x00, 0xA7, 0x00), rgbColour(0xFF, 0xA8, 0x51), rgbColour(0xC6, 0x8C, 0xFF),
    rgbColour(0x00, 0x00, 0x00), rgbColour(0xFF, 0x00, 0xFF), rgbColour(0x80, 0x80, 0x80),
    rgbColour(0xE8, 0xE8, 0x00)};
inline constexpr double designDeltaLum = 0.15;

// The dialog names of the slots.
std::string slotLabel(std::size_t slot);

struct tShades {
    tColour darker;
    tColour lighter;
};

// The requested (darker) and accepted (lighter) shades of a known-file slot:
// the colour's HSL lightness moved by the offset, 2 × offset apart.
tShades deriveShades(tColour colour, double offset);

struct tChartColours {
    // Not "slots": Qt defines that word away in every file that includes it.
    tSlotColours slotColours = designSlotColours;
    double deltaLum = designDeltaLum;

    // The colours of the requests chart's series in index order.
    tRequestsColours requestsColours() const;
};

// The colours stored in the settings. A value that does not convert keeps
// its default and is reported in one error box, so that the program starts
// with whatever is usable.
tChartColours loadColors(const tSettingsStore& settings, Prompter& prompter);

// Stores what the colours dialog confirmed: every slot as 6 hexadecimal
// digits, the offset with "." as decimal separator.
void storeColors(tSettingsStore& settings, const tChartColours& colours);

// A stored colour: 1 to 8 hexadecimal digits of a 0x00BBGGRR value.
std::optional<tColour> parseStoredColour(const std::string& text);
std::string storedColourText(tColour colour);

std::optional<double> parseStoredDeltaLum(const std::string& text);
std::string storedDeltaLumText(double deltaLum);

} // namespace pln
