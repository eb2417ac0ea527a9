#include "graphs/core/colors.h"

#include "common/error.h"
#include "common/prompter.h"
#include "common/setting_keys.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <vector>

namespace pln {

namespace {

struct tHsl {
    double hue; // 0..1, a sixth per primary
    double saturation;
    double lightness;
};

tHsl toHsl(tColour colour) {
    const double r = redOf(colour) / 255.0;
    const double g = greenOf(colour) / 255.0;
    const double b = blueOf(colour) / 255.0;
    const double high = std::max({r, g, b});
    const double low = std::min({r, g, b});
    const double lightness = (high + low) / 2;
    if (high == low)
        return {0, 0, lightness};
    const double range = high - low;
    const double saturation = lightness > 0.5 ? range / (2 - high - low) : range / (high + low);
    double hue = 0;
    if (high == r)
        hue = (g - b) / range + (g < b ? 6 : 0);
    else if (high == g)
        hue = (b - r) / range + 2;
    else
        hue = (r - g) / range + 4;
    return {hue / 6, saturation, lightness};
}

double channelOfHue(double p, double q, double t) {
    if (t < 0)
        t += 1;
    if (t > 1)
        t -= 1;
    if (t < 1.0 / 6)
        return p + (q - p) * 6 * t;
    if (t < 1.0 / 2)
        return q;
    if (t < 2.0 / 3)
        return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

std::uint8_t toChannel(double value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
}

tColour fromHsl(const tHsl& hsl) {
    const double l = std::clamp(hsl.lightness, 0.0, 1.0);
    if (hsl.saturation == 0)
        return rgbColour(toChannel(l), toChannel(l), toChannel(l));
    const double q = l < 0.5 ? l * (1 + hsl.saturation) : l + hsl.saturation - l * hsl.saturation;
    const double p = 2 * l - q;
    return rgbColour(toChannel(channelOfHue(p, q, hsl.hue + 1.0 / 3)),
                     toChannel(channelOfHue(p, q, hsl.hue)),
                     toChannel(channelOfHue(p, q, hsl.hue - 1.0 / 3)));
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::string slotLabel(std::size_t slot) {
    if (slot == eventsSlot)
        return "Events";
    if (slot < firstStatisticsSlot)
        return "Known file " + std::to_string(slot - firstKnownFileSlot + 1);
    return "Statistics " + std::to_string(slot - firstStatisticsSlot + 1);
}

tShades deriveShades(tColour colour, double offset) {
    tHsl hsl = toHsl(colour);
    const double l = hsl.lightness;
    double darker = 0;
    if (l > 1 - offset)
        darker = 1 - 2 * offset;
    else if (l >= offset)
        darker = l - offset;
    hsl.lightness = darker;
    const tColour dark = fromHsl(hsl);
    hsl.lightness = darker + 2 * offset;
    return {dark, fromHsl(hsl)};
}

tRequestsColours tChartColours::requestsColours() const {
    tRequestsColours colours{};
    colours[0] = slotColours[eventsSlot];
    for (std::size_t k = firstKnownFileSlot; k < firstStatisticsSlot; ++k) {
        const tShades shades = deriveShades(slotColours[k], deltaLum);
        colours[2 * k - 1] = shades.darker;
        colours[2 * k] = shades.lighter;
    }
    for (std::size_t j = firstStatisticsSlot; j < colorSlotCount; ++j)
        colours[j + 3] = slotColours[j];
    return colours;
}

tChartColours loadColors(const tSettingsStore& settings, Prompter& prompter) {
    tChartColours colours;
    std::vector<std::string> faults;
    const auto fault = [&](const std::string& key, const std::string& text) {
        faults.push_back(format("The setting %s has the invalid value \"%s\"; its default is used.",
                                {key, text}));
    };
    const std::string lum = settings.text(settingKey::deltaLum, storedDeltaLumText(designDeltaLum));
    if (const auto value = parseStoredDeltaLum(lum))
        colours.deltaLum = *value;
    else
        fault(settingKey::deltaLum, lum);
    for (std::size_t slot = 0; slot < colorSlotCount; ++slot) {
        char design[9];
        std::snprintf(design, sizeof design, "%08X", designSlotColours[slot]);
        const std::string text = settings.text(settingKey::slotColour(slot), design);
        if (const auto value = parseStoredColour(text))
            colours.slotColours[slot] = *value;
        else
            fault(settingKey::slotColour(slot), text);
    }
    if (!faults.empty()) {
        std::string message = faults.front();
        for (std::size_t i = 1; i < faults.size(); ++i)
            message += "\n" + faults[i];
        prompter.showError(message);
    }
    return colours;
}

void storeColors(tSettingsStore& settings, const tChartColours& colours) {
    settings.setText(settingKey::deltaLum, storedDeltaLumText(colours.deltaLum));
    for (std::size_t slot = 0; slot < colorSlotCount; ++slot)
        settings.setText(settingKey::slotColour(slot), storedColourText(colours.slotColours[slot]));
}

std::optional<tColour> parseStoredColour(const std::string& text) {
    const std::string_view digits = trimmed(text);
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    tColour value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    // The high byte marks the toolkit's system colours, which are no colour
    // of their own.
    if (ec != std::errc() || end != digits.data() + digits.size() || (value >> 24) != 0)
        return std::nullopt;
    return value;
}

std::string storedColourText(tColour colour) {
    char text[9];
    std::snprintf(text, sizeof text, "%06X", colour & 0xFFFFFFu);
    return text;
}

std::optional<double> parseStoredDeltaLum(const std::string& text) {
    const std::string_view number = trimmed(text);
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                           std::chars_format::fixed);
    if (number.empty() || ec != std::errc() || end != number.data() + number.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string storedDeltaLumText(double deltaLum) {
    // Room for the longest shortest form of a double.
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, deltaLum).ptr);
}

} // namespace pln
