#pragma once

#include "emulefiles/core/known_met_record.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

// A service of eMule's webservices.dat that refers to a file: the caption of
// its menu item and the address template with its placeholders.
struct tWebService {
    std::string caption;
    std::string urlTemplate;

    friend bool operator==(const tWebService&, const tWebService&) = default;
};

inline constexpr const char* webServicesFileName = "webservices.dat";
inline constexpr const char* noWebServicesCaption = "No filename based webservices found";

// A line names a file-based service when, trimmed, it is not empty, does not
// start with "#" or "/" and holds one of #filename, #cleanfilename, #name,
// #cleanname, #hashid or #filesize (case ignored).
bool isWebServiceLine(std::string_view line);

// The services of the file text in file order: "caption, template", split at
// the first comma; a service line without a comma gives none.
std::vector<tWebService> parseWebServices(std::string_view text);

// The services of webservices.dat; no file means no services. Throws
// "Cannot open "%s"." or, for a file too large to be eMule's,
// "The file "%s" is larger than %s bytes.".
std::vector<tWebService> loadWebServices(const std::string& path);

// The name cut before its last "." when no "\" or ":" follows that dot.
std::string nameWithoutExtension(std::string_view name);

// The template with the placeholders filled from the record: the name (with
// or without its extension) in the form encoding, the hash text and the
// size.
std::string webServiceUrl(std::string_view urlTemplate, const tKnownMetRecord& record);

// Only http, https and ftp addresses are handed to the desktop: a template
// could otherwise make the viewer start a program.
bool isWebUrl(std::string_view url);

// A service applies to exactly one selected row.
bool webServiceItemsEnabled(std::size_t selectedRows);

} // namespace pln
