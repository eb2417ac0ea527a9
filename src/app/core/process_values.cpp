#include "app/core/process_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace pln {

tProcessValues::tProcessValues(tLocations locations_, IniProfile& ini)
    : locations(std::move(locations_)), settings(ini, locations.dataFolder + settingsFileName) {}

void tProcessValues::readSettings() {
    compressionThreshold = settings.get(settingKey::compressionThreshold);
    // Compression divides ages by the threshold and cannot be undone, so a
    // nonsensical value falls back to the default rather than a guess.
    if (compressionThreshold < 1)
        compressionThreshold = settingKey::compressionThreshold.fallback;
    // 0 would leave the number of points of a graph undefined.
    pointsPerPixel =
        std::clamp(settings.get(settingKey::pointsPerPixel), minPointsPerPixel, maxPointsPerPixel);
}

void ensureLastCompressDate(tSettingsStore& settings, Clock& clock,
                            const tDateTimeText& dateTimeText) {
    if (!settings.get(settingKey::lastCompressDate).empty())
        return;
    settings.set(settingKey::lastCompressDate, "Never since " + dateTimeText(clock.nowLocal()));
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
