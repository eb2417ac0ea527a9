#include "app/core/startup.h"

namespace pln {

std::string viewerMutexName(const tLocations& locations) {
    return locations.messagePrefix + sharedNameId + "_viewer";
}

std::string recorderMutexName(const tLocations& locations) {
    return locations.messagePrefix + sharedNameId + "_recorder";
}

std::unique_ptr<NamedMutex> claimViewer(MutexService& mutexes, const tLocations& locations) {
    auto result = mutexes.create(viewerMutexName(locations));
    if (result.outcome != MutexOutcome::Created)
        return nullptr;
    return std::move(result.handle);
}

void ensureRecorderRunning(MutexService& mutexes, ProcessLauncher& processes,
                           const tLocations& locations) {
    if (mutexes.isHeld(recorderMutexName(locations)))
        return;
    std::string parameters;
    if (!locations.namedConfig.empty()) {
        // A separator before the closing quote would escape it on Windows.
        std::string folder = locations.namedConfig;
        while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/'))
            folder.pop_back();
        parameters = "--config \"" + folder + "\"";
    }
    processes.runProgram(locations.programFolder + recorderExecutable, parameters);
}

} // namespace pln
