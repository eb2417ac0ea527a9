#pragma once

#include "app/core/locations.h"
#include "app/core/settings.h"
#include "common/setting_keys.h"
#include "platform/clock.h"
#include "platform/ini_profile.h"

#include <functional>
#include <optional>
#include <string>

namespace pln {

inline constexpr int minPointsPerPixel = 1;
inline constexpr int maxPointsPerPixel = 10;

// The values every part of the viewer shares for the life of the process.
// The main window owns the one instance and hands it down.
struct tProcessValues {
    tProcessValues(tLocations locations, IniProfile& ini);

    const tLocations locations;
    tSettings settings;
    int compressionThreshold = settingKey::compressionThreshold.fallback;
    int pointsPerPixel = settingKey::pointsPerPixel.fallback;

    // Takes compressionThreshold and pointsPerPixel from the
    // settings. Stored values that would break the graphs or the compression
    // are replaced for this run only; the file is left as it is.
    void readSettings();
};

// A local calendar date-time as the user reads it: the short date format,
// a space and the long time format of the user's locale.
using tDateTimeText = std::function<std::string(CalendarMs)>;

// Dates the start of compression history on the first start, so that the
// compress dialog can tell how long the logs have grown uncompressed.
void ensureLastCompressDate(tSettingsStore& settings, Clock& clock,
                            const tDateTimeText& dateTimeText);

// A number written with "." as decimal separator, whatever the locale;
// empty when the whole text is not a finite number.
std::optional<double> parseUsDecimal(const std::string& text);

} // namespace pln
