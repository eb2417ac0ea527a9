#pragma once

#include "platform/file_system.h"
#include "platform/system_info.h"

#include <cstdint>
#include <string>
#include <variant>

namespace pln {

// Where eMule keeps its files and where the viewer keeps its own. Every
// folder ends with the platform's separator. Computed once, before any
// window exists, and never changed while the process runs.
struct tLocations {
    std::string programFolder;
    std::string eMuleFolder;
    std::string eMuleConfigBase;
    std::string eMuleConfigFolder;
    std::string dataFolder;
    std::string logsFolder;
    // eMuleConfigFolder with every backslash turned into "/": the prefix of
    // the names shared with the recorder of the same eMule configuration.
    std::string messagePrefix;

    bool operator==(const tLocations&) const = default;
};

// The program cannot run: the caller shows the message (title "PLN", error
// icon) and ends.
struct tStartupEnd {
    std::string message;
};

using tLocationsOutcome = std::variant<tLocations, tStartupEnd>;

extern const char* const missingEmuleFilesMessage;
extern const char* const missingDataFolderMessage;

// Works out every location from the system's answers, creating the data and
// logs folders when they are missing. Ends the program when eMule's files
// cannot be found or a folder of the viewer cannot be created.
tLocationsOutcome resolveLocations(SystemInfo& system, FileSystem& files,
                                   std::uint16_t windowsVersion);

} // namespace pln
