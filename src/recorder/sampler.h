#pragma once

#include "common/prompter.h"
#include "logstore/core/dos_date_time.h"
#include "logstore/core/log_types.h"
#include "platform/ini_profile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pln {

class tKnownMetList;
class tLogFiles;

// Where the values of a sample come from: eMule's INI files in its
// configuration folder and onlinesig.dat in the folder above it.
struct tSampleSources {
    std::string eMuleConfigFolder;
    std::string eMuleConfigBase;
    IniProfile& ini;
};

// One record waiting to be appended to its log file.
struct tPendingRecord {
    std::string fileName;
    tLogKind kind = tLogKind::knownFile;
    std::uint8_t valueType = 0;
    std::vector<std::uint8_t> record;
};

inline constexpr const char* valueMissingMessage = "Cannot read the value of the \"%s\" log";
inline constexpr const char* valueInvalidMessage = "Invalid value \"%s\" for the \"%s\" log";

// The records of one sample, dated date, for every active and permanent log
// of the catalogue: a known-file log whose file is in known.met gets the
// file's counters, a stats log the current value of its INI key, the
// queued-clients log the count of onlinesig.dat; combined logs get nothing.
// A value that is missing or does not suit its log is reported and that log
// skipped. With onlyEmptyLogs, logs that hold records already are skipped:
// a new log gets its first value without waiting for eMule's next save.
std::vector<tPendingRecord> sampleLogs(const tLogFiles& logs, const tKnownMetList* knownFiles,
                                       const tSampleSources& sources, dosDateTime date,
                                       Prompter& errors, bool onlyEmptyLogs = false);

} // namespace pln
