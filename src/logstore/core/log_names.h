#pragma once

#include "logstore/core/log_types.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace pln {

// A log's name is its file name without folder and extension:
//   known-file log  the 32 hexadecimal digits of the file's hash
//   INI value       "<file>-<section>,<key>", e.g. "statistics.ini-statistics,ConnRunTime"
//   queued clients  "Queued clients"
//   combined log    "virtual;<title>"
inline constexpr std::string_view queuedClientsName = "Queued clients";
inline constexpr std::string_view virtualPrefix = "virtual;";
inline constexpr std::string_view connRunTimeName = "statistics.ini-statistics,ConnRunTime";

tLogKind kindOf(std::string_view name);

// "Queued clients", the title of a combined log, the key of an INI value, and
// nothing for a known-file log (the lists show the file's own name).
std::string displayNameOf(std::string_view name);

// The parts of an INI value name, split at the first "-" and the first ",";
// empty for every other kind.
std::string iniFileNameOf(std::string_view name);
std::string iniSectionOf(std::string_view name);
std::string iniKeyOf(std::string_view name);

std::string iniValueLogName(std::string_view file, std::string_view section, std::string_view key);

// Whether the name is the ConnRunTime value of statistics.ini, whatever its case.
bool isConnRunTimeName(std::string_view name);

// ".pln_off", ".pln_on", and ".pln" for the other states.
std::string_view extensionOf(tLogState state);

// The extensions in the order a name's files are probed; the first found
// gives the log's state.
inline constexpr std::array<tLogState, 3> probeOrder = {tLogState::permanent, tLogState::active,
                                                        tLogState::inactive};

// The state an extension (with its dot, any case) stands for; empty for
// every other extension.
std::optional<tLogState> stateOfExtension(std::string_view extension);

// "None", "Inactive", "Active", "Permanent".
std::string_view stateText(tLogState state);

} // namespace pln
