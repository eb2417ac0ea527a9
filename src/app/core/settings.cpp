#include "app/core/settings.h"

namespace pln {

tSettings::tSettings(IniProfile& ini, std::string fileName)
    : ini_(ini), fileName_(std::move(fileName)) {}

std::optional<std::string> tSettings::read(const std::string& key) const {
    return ini_.read(fileName_, settingsSection, key);
}

void tSettings::write(const std::string& key, const std::string& value) {
    ini_.write(fileName_, settingsSection, key, value);
}

} // namespace pln
