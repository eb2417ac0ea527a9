#pragma once

#include "app/core/wine_registry.h"
#include "platform/file_listing.h"
#include "platform/file_system.h"
#include "platform/system_info.h"

#include <string>

namespace pln {

// A Wine prefix seen as the Windows machine the location rule asks about: a
// Vista-or-later system whose viewer lies in eMule's program folder in the
// prefix's Program Files, whose registry is the prefix's "user.reg" and whose
// folders are its user's. Every answer is a path of this system.
class tWineMachine : public SystemInfo {
public:
    // prefix ends with "/"; userName names the prefix's user folder when
    // user.reg does not name the folders.
    tWineMachine(FileSystem& files, FileListing& listing, std::string prefix, std::string userName);

    std::string executablePath() override;
    std::optional<OsVersion> osVersion() override { return OsVersion{2, 6, 0}; }
    std::optional<std::int32_t> emuleRegistryInt(const std::string& valueName) override;
    bool shellAvailable() override { return true; }
    bool knownFolderCallAvailable() override { return true; }
    std::optional<std::string> knownFolder(KnownFolder folder) override;
    std::optional<std::string> shellFolder(ShellFolder folder) override;
    char pathSeparator() const override { return '/'; }

private:
    std::string nativeFolder(const std::string& windowsPath);
    std::string profileName();
    std::string userFolder(const char* valueName, const std::string& underProfile);

    FileSystem& files_;
    FileListing& listing_;
    std::string prefix_;
    std::string userName_;
    tWineRegistry registry_;
};

} // namespace pln
