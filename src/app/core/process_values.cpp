#include "app/core/process_values.h"

#include "common/setting_keys.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace pln {

tProcessValues::tProcessValues(tLocations locations_, std::uint16_t windowsVersion_,
                               IniProfile& ini)
    : locations(std::move(locations_)), windowsVersion(windowsVersion_),
      settings(ini, locations.dataFolder + settingsFileName) {}

void tProcessValues::readSettings() {
    compressionThreshold =
        settings.getIniInt(settingKey::compressionThreshold, defaultCompressionThreshold);
    // Compression divides ages by the threshold and cannot be undone, so a
    // nonsensical value falls back to the default rather than a guess.
    if (compressionThreshold < 1)
        compressionThreshold = defaultCompressionThreshold;
    // 0 would leave the number of points of a graph undefined.
    pointsPerPixel =
        std::clamp(settings.getIniInt(settingKey::pointsPerPixel, defaultPointsPerPixel),
                   minPointsPerPixel, maxPointsPerPixel);
}

void ensureLastCompressDate(tSettings& settings, Clock& clock, const tDateTimeText& dateTimeText) {
    if (!settings.getIniString(settingKey::lastCompressDate, "").empty())
        return;
    settings.setIniString(settingKey::lastCompressDate,
                          "Never since " + dateTimeText(clock.nowLocal()));
}

std::optional<double> parseUsDecimal(const std::string& text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+' && first + 1 != last && first[1] != '-')
        ++first;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (first == last || ec != std::errc() || ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace pln
