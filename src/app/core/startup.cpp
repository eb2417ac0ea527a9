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
    if (!mutexes.isHeld(recorderMutexName(locations)))
        processes.runProgram(locations.programFolder + recorderExecutable, "");
}

} // namespace pln
