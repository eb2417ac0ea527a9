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

// A signed value as a word in the same order.
std::uint64_t signedOrder(std::int64_t value) {
    return static_cast<std::uint64_t>(value) ^ (std::uint64_t{1} << 63);
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

std::size_t knownFileSortKeyWords(int column) {
    return static_cast<tKnownFilesColumn>(column) == tKnownFilesColumn::hash ? hashKeyWords : 1;
}

void appendKnownFileSortKey(const tKnownFileRow& row, int column, std::vector<std::uint64_t>& key) {
    switch (static_cast<tKnownFilesColumn>(column)) {
    case tKnownFilesColumn::name:
        key.push_back(row.nameRank);
        return;
    case tKnownFilesColumn::log:
        key.push_back(logRank(row.logState));
        return;
    case tKnownFilesColumn::size:
        key.push_back(row.size);
        return;
    case tKnownFilesColumn::shared:
        key.push_back(row.shared ? 1 : 0);
        return;
    case tKnownFilesColumn::transferred:
        key.push_back(row.transferred);
        return;
    case tKnownFilesColumn::hash:
        // The text's bytes, eight to a word with the first byte highest:
        // the words compare as the texts do.
        for (std::size_t word = 0; word < hashKeyWords; ++word) {
            std::uint64_t bytes = 0;
            for (std::size_t i = word * 8; i < word * 8 + 8; ++i)
                bytes = (bytes << 8) |
                        (i < row.hashText.size() ? static_cast<std::uint8_t>(row.hashText[i]) : 0);
            key.push_back(bytes);
        }
        return;
    case tKnownFilesColumn::dled:
        key.push_back(dledRank(row.dled));
        return;
    case tKnownFilesColumn::lastModified:
        // The cell shows whole seconds, and the cells are what is compared.
        key.push_back(signedOrder(row.modified / msPerSecond));
        return;
    case tKnownFilesColumn::path:
        key.push_back(row.pathRank);
        return;
    case tKnownFilesColumn::dlTime:
        key.push_back(signedOrder(row.dlMinutes));
        return;
    }
}

int compareKnownFileRows(const tKnownFileRow& a, const tKnownFileRow& b, int column) {
    std::vector<std::uint64_t> first, second;
    appendKnownFileSortKey(a, column, first);
    appendKnownFileSortKey(b, column, second);
    return first < second ? -1 : (second < first ? 1 : 0);
}

} // namespace pln
