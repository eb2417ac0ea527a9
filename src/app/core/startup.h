#pragma once

#include "app/core/locations.h"
#include "platform/named_mutex.h"
#include "platform/process_launcher.h"

#include <memory>
#include <string>

namespace pln {

// The names a viewer and a recorder of the same eMule configuration share:
// messagePrefix followed by this id and a suffix, so that installations
// serving other configurations never see each other.
inline constexpr const char* sharedNameId = "dbed2574-6c42-4b54-8165-ddb3421b4d86";

std::string viewerMutexName(const tLocations& locations);
std::string recorderMutexName(const tLocations& locations);

#ifdef _WIN32
inline constexpr const char* recorderExecutable = "PLN.exe";
#else
inline constexpr const char* recorderExecutable = "PLN";
#endif

// The mark of the one viewer of this eMule configuration, held for the life
// of the process; null when another viewer holds it or it is not accessible,
// and this one must end without a word.
std::unique_ptr<NamedMutex> claimViewer(MutexService& mutexes, const tLocations& locations);

// Starts the recorder when it does not hold its mark. The probe releases the
// name at once so that a recorder starting a moment later can take it; a
// recorder that cannot be started is left alone. A configuration folder the
// viewer was told to use is passed on with --config.
void ensureRecorderRunning(MutexService& mutexes, ProcessLauncher& processes,
                           const tLocations& locations);

} // namespace pln
