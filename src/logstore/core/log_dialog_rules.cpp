#include "logstore/core/log_dialog_rules.h"

#include "common/missing_value.h"
#include "common/text.h"
#include "logstore/core/log_files.h"
#include "logstore/core/log_names.h"
#include "logstore/core/multiplier.h"

#include <array>
#include <cmath>

namespace pln {

namespace {

constexpr std::size_t maxFileNameBytes = 255;
constexpr std::string_view forbiddenCharacters = "/\\:*?\"<>|";
// The longest extension a log file can carry.
constexpr std::string_view longestExtension = ".pln_off";

bool isDeviceName(std::string_view base) {
    static constexpr std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    for (std::string_view device : plain)
        if (iequals(base, device))
            return true;
    return base.size() == 4 && (istartsWith(base, "COM") || istartsWith(base, "LPT")) &&
           base[3] >= '1' && base[3] <= '9';
}

} // namespace

bool isPortableFileName(std::string_view fileName) {
    if (fileName.empty() || fileName.size() > maxFileNameBytes || fileName.back() == '.' ||
        fileName.back() == ' ' || fileName.find_first_of(forbiddenCharacters) != fileName.npos)
        return false;
    for (char c : fileName)
        if (static_cast<unsigned char>(c) < 0x20)
            return false;
    // Windows takes "CON.txt" and "CON .txt" for the device too.
    std::string_view base = fileName.substr(0, fileName.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    return !isDeviceName(base);
}

bool isSourceLogName(std::string_view name) {
    const tLogKind kind = kindOf(name);
    return (kind == tLogKind::iniValue || kind == tLogKind::queuedClients) &&
           name.find("..") == std::string_view::npos &&
           isPortableFileName(std::string(name) + std::string(longestExtension));
}

bool isValidVirtualTitle(std::string_view title) {
    return !title.empty() && isPortableFileName(std::string(virtualPrefix) + std::string(title) +
                                                std::string(longestExtension));
}

std::string keyOfCaption(std::string_view caption) {
    return trimControl(caption.substr(0, caption.find('=')));
}

std::optional<std::string> iniLogNameFor(std::string_view file, std::string_view section,
                                         std::string_view key) {
    std::string name = iniValueLogName(file, section, key);
    if (kindOf(name) != tLogKind::iniValue || iniFileNameOf(name) != file ||
        iniSectionOf(name) != section || iniKeyOf(name) != key ||
        !isPortableFileName(name + std::string(longestExtension)))
        return std::nullopt;
    return name;
}

std::optional<double> maxValueOf(bool useMaxValue, std::string_view text, char decimalSeparator) {
    if (!useMaxValue)
        return missingValue();
    return parseDecimal(trimControl(text), decimalSeparator);
}

std::optional<double> editedMaxValue(bool useMaxValue, std::string_view text,
                                     std::string_view shown, double stored, char decimalSeparator) {
    if (!useMaxValue || text != shown)
        return maxValueOf(useMaxValue, text, decimalSeparator);
    return std::isfinite(stored) ? std::optional(stored) : std::nullopt;
}

bool combineEntriesValid(const tCombineEntries& entries, char decimalSeparator,
                         const std::string& logsFolder, std::string_view editedName) {
    if (std::isnan(getMultiplier(entries.multiplier, decimalSeparator)) ||
        !isValidVirtualTitle(entries.title) ||
        !maxValueOf(entries.useMaxValue, entries.maxValue, decimalSeparator))
        return false;
    const std::string name = std::string(virtualPrefix) + entries.title;
    return iequals(name, editedName) || !logExistsInAnyState(logsFolder, name);
}

} // namespace pln
