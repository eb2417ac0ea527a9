#pragma once

#include "platform/system_info.h"

namespace pln {

// The Windows answers: the module path, the version records, the current
// user's eMule key, and the shell's folders. The known-folder call is looked
// up at run time, since systems before Vista do not have it.
class Win32SystemInfo : public SystemInfo {
public:
    std::string executablePath() override;
    std::optional<OsVersion> osVersion() override;
    std::optional<std::int32_t> emuleRegistryInt(const std::string& valueName) override;
    bool shellAvailable() override;
    bool knownFolderCallAvailable() override;
    std::optional<std::string> knownFolder(KnownFolder folder) override;
    std::optional<std::string> shellFolder(ShellFolder folder) override;
    char pathSeparator() const override;
};

} // namespace pln
