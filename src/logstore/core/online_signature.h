#pragma once

#include "platform/ini_profile.h"

#include <string>

namespace pln {

inline constexpr const char* onlineSignatureDisabled = "[Online signature is currently disabled]";
inline constexpr const char* onlineSignatureNotFound = "[File not found]";

// What the queued-clients node of the new-log wizard shows after "Queued
// clients = ": the count eMule last wrote to the online signature, the text
// after the last "|" of onlinesig.dat in eMule's base folder, or why there
// is none. Only the end of the file is read, however large it is.
std::string queuedClientsText(IniProfile& ini, const std::string& configFolder,
                              const std::string& configBase);

} // namespace pln
