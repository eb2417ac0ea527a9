#pragma once

#include "emulefiles/core/known_met.h"
#include "emulefiles/core/shared_folders.h"

#include <string>

namespace pln {

// The load cycle runs from a single-shot timer: armed with the first delay
// at start-up and on user requests, and with the retry delay after a cycle
// that could not bring everything up to date.
inline constexpr int loadCycleFirstDelayMs = 1;
inline constexpr int loadCycleRetryDelayMs = 2000;

inline constexpr const char* knownMetSettlingText =
    "known.met has just been changed; it is read once it has stayed unchanged for 2 seconds";

// Reads known.met when it changed and has settled. False when the cycle
// must be retried, with the reason in failure; the retry stays silent
// because eMule rewrites its files at any time and the next try usually
// succeeds.
bool loadEmuleFiles(tKnownMet& knownMet, std::string& failure);

// Re-reads the shared-folder sources that changed and have settled, in
// eMule's order: preferences.ini, shareddir.dat, sharedfiles.dat and
// Category.ini. Every source is tried whatever the earlier ones gave; false
// when one of them could not be read, with the first reason in failure.
bool loadSharedFolders(tSharedFolders& folders, std::string& failure);

} // namespace pln
