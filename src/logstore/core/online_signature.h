#pragma once

#include "platform/ini_profile.h"

#include <optional>
#include <string>

namespace pln {

inline constexpr const char* onlineSignatureDisabled = "[Online signature is currently disabled]";
inline constexpr const char* onlineSignatureNotFound = "[File not found]";

// The queued-clients count of onlinesig.dat in eMule's base folder, read by
// the wizard and the recorder alike: the text after the last "|", trimmed,
// when eMule's online signature is enabled in preferences.ini and the file
// is a regular file. Only the end of the file is read, however large it is.
struct tQueuedClients {
    std::optional<std::string> value; // empty when the file has no "|"
    const char* missing = nullptr;    // why there is no file to read, or null
};
tQueuedClients readQueuedClients(IniProfile& ini, const std::string& configFolder,
                                 const std::string& configBase);

// What the queued-clients node of the new-log wizard shows after "Queued
// clients = ": the count eMule last wrote to the online signature, the text
// after the last "|" of onlinesig.dat in eMule's base folder, or why there
// is none. Only the end of the file is read, however large it is.
std::string queuedClientsText(IniProfile& ini, const std::string& configFolder,
                              const std::string& configBase);

} // namespace pln
