#include "links/core/web_services.h"

#include "common/error.h"
#include "common/lines.h"
#include "common/text.h"
#include "links/core/link_encoding.h"
#include "links/core/placeholder_text.h"

#include <array>
#include <filesystem>
#include <fstream>

namespace pln {

namespace {

// eMule's own file is a few kilobytes; anything far larger is not one.
constexpr std::size_t maxWebServicesBytes = 1 << 20;

constexpr std::array<std::string_view, 6> fileKeys{"#filename",  "#cleanfilename", "#name",
                                                   "#cleanname", "#hashid",        "#filesize"};

bool containsIgnoringCase(std::string_view text, std::string_view key) {
    for (std::size_t pos = 0; pos + key.size() <= text.size(); ++pos)
        if (iequals(text.substr(pos, key.size()), key))
            return true;
    return false;
}

std::string trimmedRight(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && static_cast<unsigned char>(text[end - 1]) <= 0x20)
        --end;
    return std::string(text.substr(0, end));
}

} // namespace

bool isWebServiceLine(std::string_view line) {
    std::string trimmed = trimControl(line);
    if (trimmed.empty() || trimmed.front() == '#' || trimmed.front() == '/')
        return false;
    for (auto key : fileKeys)
        if (containsIgnoringCase(trimmed, key))
            return true;
    return false;
}

std::vector<tWebService> parseWebServices(std::string_view text) {
    std::vector<tWebService> services;
    for (const std::string_view line : splitLines(text)) {
        if (!isWebServiceLine(line))
            continue;
        std::string trimmed = trimControl(line);
        std::size_t comma = trimmed.find(',');
        if (comma == std::string::npos)
            continue;
        services.push_back({trimmedRight(std::string_view(trimmed).substr(0, comma)),
                            trimControl(std::string_view(trimmed).substr(comma + 1))});
    }
    return services;
}

std::vector<tWebService> loadWebServices(const std::string& path) {
    std::error_code ec;
    auto type = std::filesystem::status(path, ec).type();
    if (type == std::filesystem::file_type::not_found)
        return {};
    std::ifstream in;
    if (type == std::filesystem::file_type::regular)
        in.open(path, std::ios::binary);
    if (!in.is_open())
        throw Error(format("Cannot open \"%s\".", {path}), ErrorKind::io);
    std::string bytes(maxWebServicesBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        throw Error(format("Cannot open \"%s\".", {path}), ErrorKind::io);
    std::size_t got = static_cast<std::size_t>(in.gcount());
    if (got > maxWebServicesBytes)
        throw Error(format("The file \"%s\" is larger than %s bytes.",
                           {path, std::to_string(maxWebServicesBytes)}));
    bytes.resize(got);
    return parseWebServices(decodeTextFile(bytes));
}

std::string nameWithoutExtension(std::string_view name) {
    std::size_t last = name.find_last_of(".\\:");
    if (last == std::string_view::npos || name[last] != '.')
        return std::string(name);
    return std::string(name.substr(0, last));
}

std::string webServiceUrl(std::string_view urlTemplate, const tKnownMetRecord& record) {
    std::string name = record.getFileName();
    std::string fullName = formEncode(name);
    std::string shortName = formEncode(nameWithoutExtension(name));
    const std::array<tPlaceholder, 6> placeholders{{
        {fileKeys[0], fullName},
        {fileKeys[1], fullName},
        {fileKeys[2], shortName},
        {fileKeys[3], shortName},
        {fileKeys[4], record.hash.toString()},
        {fileKeys[5], std::to_string(record.getFileSize())},
    }};
    return replacePlaceholders(urlTemplate, placeholders);
}

bool isWebUrl(std::string_view url) {
    return istartsWith(url, "http://") || istartsWith(url, "https://") ||
           istartsWith(url, "ftp://");
}

bool webServiceItemsEnabled(std::size_t selectedRows) {
    return selectedRows == 1;
}

} // namespace pln
