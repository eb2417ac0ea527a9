#include "app/core/location_search.h"

#include "app/core/windows_version.h"
#include "app/core/wine_machine.h"
#include "common/error.h"

#include <cstdlib>
#include <filesystem>

namespace pln {

const char* const linuxMissingEmuleFilesMessage =
    "Cannot find known.met or preferences.ini.\n\nPLN looked for eMule's configuration in these "
    "folders, in this order:\n%s\nName eMule's config folder with --config FOLDER, or with the "
    "environment variable PLN_EMULE_CONFIG.";

namespace {

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
}

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string triedList(const std::vector<std::string>& tried) {
    std::string list;
    for (const auto& folder : tried)
        list += "- " + folder + "\n";
    return list;
}

} // namespace

tLocationSearch nativeLocationSearch(const std::vector<std::string>& args, FileListing& listing) {
    tLocationSearch search;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--config")
            continue;
        if (i + 1 == args.size() || args[i + 1].empty())
            throw Error("--config needs eMule's config folder");
        search.configFolder = args[++i];
    }
    if (!search.configFolder)
        search.configFolder = environment("PLN_EMULE_CONFIG");
    // A relative folder has no folder above it to hold eMule or PLN's data.
    if (search.configFolder)
        search.configFolder = std::filesystem::absolute(*search.configFolder).string();
    search.winePrefix = listing.winePrefix();
    search.userName = environment("USER").value_or(environment("LOGNAME").value_or(""));
    return search;
}

tLocationsOutcome searchLocations(SystemInfo& system, FileSystem& files, FileListing& listing,
                                  std::uint16_t windowsVersion, const tLocationSearch& search) {
    const char separator = system.pathSeparator();
    tLocations own = ruleLocations(system, files, windowsVersion);
    std::vector<tLocations> candidates;
    if (search.configFolder) {
        candidates.push_back(
            namedConfigLocations(files, *search.configFolder, own.programFolder, separator));
        candidates.back().namedConfig = *search.configFolder;
    }
    if (separator == '/' && search.winePrefix) {
        tWineMachine wine(files, listing, withSlash(*search.winePrefix), search.userName);
        candidates.push_back(ruleLocations(wine, files, windowsVista));
        // The recorder to start is this system's, beside the viewer.
        candidates.back().programFolder = own.programFolder;
    }
    candidates.push_back(own);

    std::vector<std::string> tried;
    for (auto& candidate : candidates) {
        if (holdsEmuleFiles(files, candidate))
            return withDataFolders(files, std::move(candidate));
        tried.push_back(candidate.eMuleConfigFolder);
    }
    if (separator != '/')
        return tStartupEnd{format(missingEmuleFilesMessage, {"PLN", "PLN", "PLN\\"})};
    return tStartupEnd{format(linuxMissingEmuleFilesMessage, {triedList(tried)})};
}

} // namespace pln
