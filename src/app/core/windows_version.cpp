#include "app/core/windows_version.h"

namespace pln {

namespace {

constexpr int consumerPlatform = 1;
constexpr int ntPlatform = 2;

std::uint16_t consumerVersion(const OsVersion& v) {
    if (v.major != 4)
        return windows95;
    switch (v.minor) {
    case 10:
        return windows98;
    case 90:
        return windowsMe;
    default:
        return windows95;
    }
}

std::uint16_t ntVersion(const OsVersion& v) {
    if (v.major < 5)
        return windows95;
    if (v.major > 5)
        return windowsVista;
    switch (v.minor) {
    case 0:
        return windows2000;
    case 1:
        return windowsXp;
    case 2:
        return windowsServer2003;
    default:
        return windowsVista;
    }
}

} // namespace

std::uint16_t getWindowsVersion(SystemInfo& system) {
    const auto version = system.osVersion();
    if (!version)
        return windowsUnknown;
    switch (version->platformId) {
    case consumerPlatform:
        return consumerVersion(*version);
    case ntPlatform:
        return ntVersion(*version);
    default:
        return windows95;
    }
}

} // namespace pln
