#pragma once

#include "logstore/core/dos_date_time.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pln {

class tKnownMetRecord;

// The 20-byte record of a known-file log: the date, the requests, the
// accepted requests and the bytes uploaded, all running totals.
std::vector<std::uint8_t> knownFileRecord(dosDateTime date, const tKnownMetRecord& record);

// The record of a stats log: the date and the value in the log's value type.
// Integer types take a whole decimal integer that fits them; the real type
// takes a number with "." as decimal separator. Empty when the text is not
// such a value.
std::optional<std::vector<std::uint8_t>> statsRecord(dosDateTime date, std::uint8_t valueType,
                                                     const std::string& text);

} // namespace pln
