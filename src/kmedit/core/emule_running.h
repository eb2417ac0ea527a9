#pragma once

#include "platform/platform.h"

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

} // namespace pln
