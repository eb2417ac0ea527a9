#pragma once

#include "app/core/locations.h"
#include "platform/file_listing.h"

#include <optional>
#include <string>
#include <vector>

namespace pln {

// Where to look for eMule besides the location rule.
struct tLocationSearch {
    // eMule's "config" folder as the user named it: "--config FOLDER", else
    // the environment variable PLN_EMULE_CONFIG.
    std::optional<std::string> configFolder;
    // Where Windows programs of this user run under Wine: $WINEPREFIX, else
    // ~/.wine; empty on Windows.
    std::optional<std::string> winePrefix;
    // The prefix's user, whose folders Wine names after the system's user.
    std::string userName;
};

extern const char* const linuxMissingEmuleFilesMessage;

// The search of this process: the program's arguments (after the program
// name; "--config FOLDER" is taken from them) and its environment. Throws
// Error when "--config" has no folder.
tLocationSearch nativeLocationSearch(const std::vector<std::string>& args, FileListing& listing);

// The locations, looked for in this order: the named configuration folder;
// on Linux, the Wine prefix as the Windows machine of the location rule,
// then the rule on this system's own folders; on Windows the rule. The first
// folder holding known.met and preferences.ini wins. When none does, the
// program ends; on Linux its message lists every folder tried.
tLocationsOutcome searchLocations(SystemInfo& system, FileSystem& files, FileListing& listing,
                                  std::uint16_t windowsVersion, const tLocationSearch& search);

} // namespace pln
