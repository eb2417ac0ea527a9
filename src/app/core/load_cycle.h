#pragma once

#include "emulefiles/core/known_met.h"

namespace pln {

// The load cycle runs from a single-shot timer: armed with the first delay
// at start-up and on user requests, and with the retry delay after a cycle
// that could not bring everything up to date.
inline constexpr int loadCycleFirstDelayMs = 1;
inline constexpr int loadCycleRetryDelayMs = 2000;

// Reads eMule's files that changed and have settled. False when the cycle
// must be retried; the reasons stay silent because eMule rewrites its files
// at any time and the next try usually succeeds.
bool loadEmuleFiles(tKnownMet& knownMet);

} // namespace pln
