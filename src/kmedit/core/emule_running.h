#pragma once

#include "platform/platform.h"

#include <functional>
#include <string>

namespace pln {

// The name eMule holds while it serves the given port.
std::string emuleInstanceMarker(const std::string& portText);

// Whether eMule is running for the configuration folder (ending with a
// separator). Its preferences.ini names the port; eMule counts as running
// when that port's instance marker exists or cannot be opened, when the
// port is in use, and when preferences.ini cannot be read or changes while
// it is read (eMule writing its settings), and while a program of the user
// named eMule.exe runs (eMule under Wine, whose mutex is not seen here).
// Otherwise an empty port means not running.
bool isEmuleRunning(Platform& platform, const std::string& configFolder);

// The look at every process and at the listening sockets of the system that
// isEmuleRunning makes for the port after its quick checks.
bool emuleSeenRunning(Platform& platform, const std::string& portText);
using tEmuleSeenRunning = std::function<bool(const std::string& portText)>;
// isEmuleRunning with that look answered by seen, for a caller that asks
// many times in a row and reuses its answer.
bool isEmuleRunning(Platform& platform, const std::string& configFolder,
                    const tEmuleSeenRunning& seen);

} // namespace pln
