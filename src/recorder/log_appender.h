#pragma once

#include "logstore/core/log_types.h"

#include <cstdint>
#include <span>
#include <string>

namespace pln {

// Appends one whole record to a log file: the file is opened for the moment
// of the append under the exclusive lock, its prefix (and header) checked
// against the kind and value type the record was made for, and the record
// written after the last whole record, so a partial record left by an
// interrupted write is overwritten instead of shifting every later record.
// Throws Error: fileInUseText while another process holds the file,
// "Invalid log file: "%s"" (the file name) when the file does not match.
void appendRecord(const std::string& folder, const std::string& fileName, tLogKind kind,
                  std::uint8_t valueType, std::span<const std::uint8_t> record);

} // namespace pln
