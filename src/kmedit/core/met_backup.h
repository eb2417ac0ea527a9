#pragma once

#include <string>

namespace pln {

inline constexpr const char* backupFailedText = "Backup failed.";

// The backup copy proposed for a file: its path with the extension replaced
// by ".~met" (known.met becomes known.~met).
std::string backupProposal(const std::string& source);

// Copies the file to target, replacing whatever target held; a failure
// leaves target as it was. Throws Error with the system's reason.
void copyBackup(const std::string& source, const std::string& target);

} // namespace pln
