#pragma once

#include "platform/system_info.h"

namespace pln {

// Answers for Linux: a version of the NT line 6.0, no registry, and the user
// folders of the XDG base directories (see the known-folder mapping in the
// design guide).
class PosixSystemInfo : public SystemInfo {
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
