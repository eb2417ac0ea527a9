#pragma once

#include "common/settings_store.h"
#include "platform/ini_profile.h"

#include <optional>
#include <string>

namespace pln {

// The viewer's settings: section "PLN" of PLN.ini in the data folder. Every
// call opens the file for one value; nothing is cached, so an unreadable file
// simply yields the fallbacks.
class tSettings final : public tSettingsStore {
public:
    tSettings(IniProfile& ini, std::string fileName);

    std::optional<std::string> read(const std::string& key) const override;
    void write(const std::string& key, const std::string& value) override;

private:
    IniProfile& ini_;
    std::string fileName_;
};

inline constexpr const char* settingsFileName = "PLN.ini";
inline constexpr const char* settingsSection = "PLN";

} // namespace pln
