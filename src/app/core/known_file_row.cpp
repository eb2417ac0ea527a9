#include "app/core/known_file_row.h"

#include "common/text.h"
#include "logstore/core/log_names.h"

#include <cmath>
#include <cstdio>

namespace pln {

namespace {

constexpr std::int64_t msPerSecond = 1000;
constexpr std::int64_t msPerMinute = 60 * msPerSecond;
constexpr std::int64_t msPerHour = 60 * msPerMinute;
constexpr std::int64_t fastestDownloadSeconds = 30;

template <class T> int threeWay(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

std::string twoDigits(std::int64_t n) {
    char text[24];
    std::snprintf(text, sizeof text, "%.2lld", static_cast<long long>(n));
    return text;
}

// The cells of Log and DLed compare as text; these ranks give the same order
// ("Active" < "Inactive" < "None", "Maybe" < "No" < "Unlikely" < "Yes")
// without comparing strings in every step of a sort.
int logRank(tLogState state) {
    switch (state) {
    case tLogState::active:
        return 0;
    case tLogState::inactive:
        return 1;
    default:
        return 2;
    }
}

int dledRank(tDled dled) {
    switch (dled) {
    case tDled::maybe:
        return 0;
    case tDled::no:
        return 1;
    case tDled::unlikely:
        return 2;
    case tDled::yes:
        break;
    }
    return 3;
}

} // namespace

tDled dledOf(bool hasPartFileName, CalendarMs modified, CalendarMs created) {
    if (hasPartFileName)
        return tDled::yes;
    int guess = 0;
    if (modified != 0 && created != 0 && modified > created) {
        ++guess;
        if ((modified - created) / msPerSecond >= fastestDownloadSeconds)
            ++guess;
    }
    return static_cast<tDled>(guess);
}

std::string_view dledText(tDled dled) {
    switch (dled) {
    case tDled::unlikely:
        return "Unlikely";
    case tDled::maybe:
        return "Maybe";
    case tDled::yes:
        return "Yes";
    case tDled::no:
        break;
    }
    return "No";
}

bool dlTimeOf(tDled dled, CalendarMs modified, CalendarMs created, tDlTime& time) {
    if (dled == tDled::no || modified == 0 || created == 0)
        return false;
    std::int64_t span = modified > created ? modified - created : created - modified;
    time.days = span / msPerDay;
    span -= time.days * msPerDay;
    time.hours = span / msPerHour;
    span -= time.hours * msPerHour;
    time.minutes = static_cast<std::int64_t>(
        std::nearbyint(static_cast<double>(span) / static_cast<double>(msPerMinute)));
    return true;
}

std::string dlTimeText(const tDlTime& time) {
    std::string text;
    if (time.days > 0)
        text = std::to_string(time.days) + " d ";
    if (time.hours > 0 || time.days > 0)
        text += twoDigits(time.hours) + " h ";
    return text + twoDigits(time.minutes) + " mn";
}

std::string_view knownFileLogText(tLogState state) {
    // A known file's log is never permanent; such a file is not a log of this list.
    return state == tLogState::permanent ? stateText(tLogState::none) : stateText(state);
}

int compareKnownFileRows(const tKnownFileRow& a, const tKnownFileRow& b, int column) {
    switch (static_cast<tKnownFilesColumn>(column)) {
    case tKnownFilesColumn::name:
        return threeWay(a.nameRank, b.nameRank);
    case tKnownFilesColumn::log:
        return threeWay(logRank(a.logState), logRank(b.logState));
    case tKnownFilesColumn::size:
        return threeWay(a.size, b.size);
    case tKnownFilesColumn::shared:
        return threeWay(a.shared, b.shared);
    case tKnownFilesColumn::transferred:
        return threeWay(a.transferred, b.transferred);
    case tKnownFilesColumn::hash:
        return a.hashText.compare(b.hashText);
    case tKnownFilesColumn::dled:
        return threeWay(dledRank(a.dled), dledRank(b.dled));
    case tKnownFilesColumn::lastModified:
        // The cell shows whole seconds, and the cells are what is compared.
        return threeWay(a.modified / msPerSecond, b.modified / msPerSecond);
    case tKnownFilesColumn::path:
        return threeWay(a.pathRank, b.pathRank);
    case tKnownFilesColumn::dlTime:
        return threeWay(a.dlMinutes, b.dlMinutes);
    }
    return 0;
}

} // namespace pln
