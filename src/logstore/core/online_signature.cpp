#include "logstore/core/online_signature.h"

#include "common/text.h"

#include <charconv>
#include <filesystem>
#include <fstream>

namespace pln {

namespace {

// The signature is a line or two; its last field is never longer than this.
constexpr std::streamoff tailSize = 4096;

// A boolean of an INI file is an integer, true when not 0; anything else
// reads as false.
bool iniBoolean(const std::optional<std::string>& value) {
    if (!value)
        return false;
    int number = 0;
    auto [end, error] = std::from_chars(value->data(), value->data() + value->size(), number);
    return error == std::errc() && end == value->data() + value->size() && number != 0;
}

std::optional<std::string> readTail(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return std::nullopt;
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return std::nullopt;
    std::streamoff size = file.tellg();
    std::streamoff start = size > tailSize ? size - tailSize : 0;
    std::string bytes(static_cast<std::size_t>(size - start), '\0');
    file.seekg(start);
    if (!file.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        return std::nullopt;
    return bytes;
}

} // namespace

tQueuedClients readQueuedClients(IniProfile& ini, const std::string& configFolder,
                                 const std::string& configBase) {
    if (!iniBoolean(ini.read(configFolder + "preferences.ini", "eMule", "OnlineSignature")))
        return {std::nullopt, onlineSignatureDisabled};
    std::optional<std::string> tail = readTail(configBase + "onlinesig.dat");
    if (!tail)
        return {std::nullopt, onlineSignatureNotFound};
    std::size_t bar = tail->rfind('|');
    if (bar == std::string::npos)
        return {};
    return {trimControl(cp1252ToUtf8(std::string_view(*tail).substr(bar + 1))), nullptr};
}

std::string queuedClientsText(IniProfile& ini, const std::string& configFolder,
                              const std::string& configBase) {
    tQueuedClients read = readQueuedClients(ini, configFolder, configBase);
    return read.missing ? read.missing : read.value.value_or("");
}

} // namespace pln
