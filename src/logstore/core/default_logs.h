#pragma once

#include "logstore/core/log_codec.h"
#include "logstore/core/log_types.h"

#include <array>
#include <string_view>

namespace pln {

class tLogFiles;

struct tDefaultLog {
    std::string_view name;
    tLogState state;
    std::uint8_t valueType;
    std::uint8_t flags;
    double multiplier;
    std::string_view units;
};

// The logs a first start creates; ConnRunTime is the only permanent one.
inline constexpr std::array<tDefaultLog, 5> defaultLogs = {{
    {"statistics.ini-statistics,ConnRunTime", tLogState::permanent, valueTypeInteger,
     flagCumulative, 24.0, "Hours / day"},
    {"statistics.ini-statistics,TotalUploadedBytes", tLogState::active, valueTypeLong,
     flagCumulative, 1.0 / 1024, "kBytes / sec"},
    {"statistics.ini-statistics,UpData_File", tLogState::active, valueTypeLong, flagCumulative,
     1.0 / 1024, "kBytes / sec"},
    {"preferences.ini-eMule,MaxUpload", tLogState::active, valueTypeInteger, flagSavedWhenChanged,
     1.0, "kBytes / sec"},
    {"preferences.ini-eMule,USSEnabled", tLogState::active, valueTypeByte, flagSavedWhenChanged,
     1.0, "1 = enabled; 0 = disabled"},
}};

// A first start is recognised by the missing permanent ConnRunTime log file
// alone. It then creates that log and every other default log that exists
// in no state, and tells the recorder when anything was created. The new
// files enter the catalogue at its next scan. True when a log was created.
bool createDefaultLogs(const tLogFiles& logs);

} // namespace pln
