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
    // The configuration folder the viewer was told to use, passed on to the
    // recorder it starts; empty when the folder was looked for.
    std::string namedConfig = {};

    bool operator==(const tLocations&) const = default;
};

// The program cannot run: the caller shows the message (title "PLN", error
// icon) and ends.
struct tStartupEnd {
    std::string message;
};

using tLocationsOutcome = std::variant<tLocations, tStartupEnd>;

// The prefix of the names shared by the viewer, the recorder and pln-tool for
// the eMule configuration in configFolder: its canonical spelling with every
// backslash turned into "/", so that every spelling of one folder names the
// same mutexes and messages.
std::string messagePrefixOf(FileSystem& files, const std::string& configFolder);

extern const char* const missingEmuleFilesMessage;
extern const char* const missingDataFolderMessage;

// Works out every location from the system's answers, creating the data and
// logs folders when they are missing. Ends the program when eMule's files
// cannot be found or a folder of the viewer cannot be created.
tLocationsOutcome resolveLocations(SystemInfo& system, FileSystem& files,
                                   std::uint16_t windowsVersion);

// The pieces of resolveLocations. The locations the system's answers give,
// nothing checked or created yet:
tLocations ruleLocations(SystemInfo& system, FileSystem& files, std::uint16_t windowsVersion);
// the locations of an eMule configuration folder named by the user: the
// viewer's data lies in "PLN" inside eMule's program folder when the folder
// above the configuration holds eMule.exe, else in "PLN" beside that folder;
tLocations namedConfigLocations(FileSystem& files, const std::string& configFolder,
                                const std::string& programFolder, char separator);
// whether eMule's known.met and preferences.ini are there;
bool holdsEmuleFiles(FileSystem& files, const tLocations& locations);
// the data and logs folders created when missing, or the end of the program.
tLocationsOutcome withDataFolders(FileSystem& files, tLocations locations);

} // namespace pln
