#include "logstore/core/log_names.h"

#include "common/text.h"

namespace pln {

namespace {

struct IniParts {
    std::string_view file, section, key;
};

std::optional<IniParts> iniPartsOf(std::string_view name) {
    if (kindOf(name) != tLogKind::iniValue)
        return std::nullopt;
    std::size_t dash = name.find('-');
    std::size_t comma = name.find(',');
    IniParts parts;
    if (dash != std::string_view::npos)
        parts.file = name.substr(0, dash);
    if (dash != std::string_view::npos && (comma == std::string_view::npos || comma > dash))
        parts.section =
            name.substr(dash + 1, comma == std::string_view::npos ? comma : comma - dash - 1);
    if (comma != std::string_view::npos)
        parts.key = name.substr(comma + 1);
    return parts;
}

} // namespace

tLogKind kindOf(std::string_view name) {
    if (iequals(name, queuedClientsName))
        return tLogKind::queuedClients;
    if (istartsWith(name, virtualPrefix))
        return tLogKind::virtualLog;
    if (name.find('.') != std::string_view::npos)
        return tLogKind::iniValue;
    return tLogKind::knownFile;
}

std::string displayNameOf(std::string_view name) {
    switch (kindOf(name)) {
    case tLogKind::queuedClients:
        return std::string(queuedClientsName);
    case tLogKind::virtualLog:
        return std::string(name.substr(virtualPrefix.size()));
    case tLogKind::iniValue:
        return iniKeyOf(name);
    case tLogKind::knownFile:
        break;
    }
    return {};
}

std::string iniFileNameOf(std::string_view name) {
    auto parts = iniPartsOf(name);
    return parts ? std::string(parts->file) : std::string();
}

std::string iniSectionOf(std::string_view name) {
    auto parts = iniPartsOf(name);
    return parts ? std::string(parts->section) : std::string();
}

std::string iniKeyOf(std::string_view name) {
    auto parts = iniPartsOf(name);
    return parts ? std::string(parts->key) : std::string();
}

std::string iniValueLogName(std::string_view file, std::string_view section, std::string_view key) {
    std::string name(file);
    name += '-';
    name += section;
    name += ',';
    name += key;
    return name;
}

bool isConnRunTimeName(std::string_view name) {
    return iequals(iniFileNameOf(name), "statistics.ini") &&
           iequals(iniSectionOf(name), "statistics") && iequals(iniKeyOf(name), "ConnRunTime");
}

std::string_view extensionOf(tLogState state) {
    switch (state) {
    case tLogState::inactive:
        return ".pln_off";
    case tLogState::active:
        return ".pln_on";
    case tLogState::none:
    case tLogState::permanent:
        break;
    }
    return ".pln";
}

std::optional<tLogState> stateOfExtension(std::string_view extension) {
    for (tLogState state : probeOrder)
        if (iequals(extension, extensionOf(state)))
            return state;
    return std::nullopt;
}

std::string_view stateText(tLogState state) {
    switch (state) {
    case tLogState::inactive:
        return "Inactive";
    case tLogState::active:
        return "Active";
    case tLogState::permanent:
        return "Permanent";
    case tLogState::none:
        break;
    }
    return "None";
}

} // namespace pln
