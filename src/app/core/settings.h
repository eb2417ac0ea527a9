#pragma once

#include "platform/ini_profile.h"

#include <optional>
#include <string>

namespace pln {

// The viewer's settings: section "PLN" of PLN.ini in the data folder. Every
// call opens the file for one value; nothing is cached and a failed write is
// not reported, so an unreadable file simply yields the defaults.
class tSettings {
public:
    tSettings(IniProfile& ini, std::string fileName);

    std::string getIniString(const std::string& key, const std::string& defaultValue) const;
    void setIniString(const std::string& key, const std::string& value);
    // The leading decimal integer of the stored text, as Windows reads
    // profile integers; the default when the key is absent or the text does
    // not start with a number that fits.
    int getIniInt(const std::string& key, int defaultValue) const;
    void setIniInt(const std::string& key, int value);

    const std::string& fileName() const { return fileName_; }

private:
    IniProfile& ini_;
    std::string fileName_;
};

inline constexpr const char* settingsFileName = "PLN.ini";
inline constexpr const char* settingsSection = "PLN";

// Parses a leading decimal integer (blanks, an optional sign, digits); empty
// when there are no digits or the number does not fit an int.
std::optional<int> leadingInteger(const std::string& text);

} // namespace pln
