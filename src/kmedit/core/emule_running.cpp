#include "kmedit/core/emule_running.h"

#include <charconv>
#include <optional>

namespace pln {

namespace {

std::optional<std::uint16_t> tcpPort(const std::string& text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value == 0 || value > 0xFFFF)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

} // namespace

std::string emuleInstanceMarker(const std::string& portText) {
    return "EMULE-{4EADC6FC-516F-4b7c-9066-97D893649570}:" + portText;
}

bool isEmuleRunning(Platform& platform, const std::string& configFolder) {
    return isEmuleRunning(platform, configFolder, [&platform](const std::string& portText) {
        return emuleSeenRunning(platform, portText);
    });
}

bool emuleSeenRunning(Platform& platform, const std::string& portText) {
    if (platform.programs.userRuns("eMule.exe"))
        return true;
    const std::optional<std::uint16_t> number = tcpPort(portText);
    return number && platform.ports.tcpPortInUse(*number);
}

bool isEmuleRunning(Platform& platform, const std::string& configFolder,
                    const tEmuleSeenRunning& seen) {
    const std::string path = configFolder + "preferences.ini";
    const std::optional<FileStamp> before = platform.files.modificationStamp(path);
    if (!before)
        return true;
    const std::string port = platform.ini.read(path, "eMule", "Port").value_or("");
    if (platform.files.modificationStamp(path) != before)
        return true;
    if (!port.empty() && platform.mutexes.isHeld(emuleInstanceMarker(port)))
        return true;
    return seen(port);
}

} // namespace pln
