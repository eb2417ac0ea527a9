#pragma once

#include "logstore/core/log_records.h"
#include "platform/clock.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pln {

class tLogFiles;

// The recorder's period and the largest spacing compression leaves.
inline constexpr std::int64_t baseSpacingSeconds = 660;
inline constexpr std::int64_t largestSpacingSeconds = 21'600;
inline constexpr int largestSpacingHours = 6;

struct tCompressSummary {
    std::size_t logsRewritten = 0;
    std::size_t recordsBefore = 0;
    std::size_t recordsAfter = 0;
    // The record areas of the logs rewritten.
    std::uint64_t bytesBefore = 0;
    std::uint64_t bytesAfter = 0;
    // The report of each log that failed, in catalogue order.
    std::vector<std::string> failures;
};

inline constexpr const char* compressFailedText =
    "These logs could not be compressed; they were left as they were:";
inline constexpr const char* compressMoreFailedText = "... and %s more";

// compressFailedText followed by one failure a line, the first 20 of them.
std::string compressFailureReport(const std::vector<std::string>& failures);

// Which records of a log compression keeps, oldest first, as one flag per
// record. Walking from the newest record to the oldest, a record t is
// dropped when (age div T days) x 660 s exceeds the seconds between t and
// the last record kept and these are fewer than 6 hours; otherwise it is
// kept. The walk starts with "now" as the last record kept. Ages and gaps are
// the real seconds between the records' instants and the instant of now, so
// a daylight-saving change neither shortens nor stretches them. A threshold
// below one day counts as one day.
std::vector<bool> recordsToKeep(const tLogRecords& records, int thresholdDays,
                                std::int64_t nowInstant);

// Thins out the old part of every log of the catalogue: within the first T
// days every record stays, between kT and (k+1)T days records are kept at
// least k x 11 minutes apart, and a record 6 hours or more after the last
// kept one always stays. Each log is handled on its own, starting again from
// "now", so the result for one log never depends on which logs precede it
// in the catalogue. Runs only while the recorder is suspended. Each log is
// rewritten on its own (temporary file, flush, rename); a log that fails is
// left as it was, the run goes on, and its report is added to the
// summary's failures (for compressFailureReport) instead of being shown.
// progress, when given, is told before each log how many logs of how many
// have been handled, so that a long run can show how far it is. now is a
// local reading, turned into an instant by the catalogue's time-zone rules.
using tCompressProgress = std::function<void(std::size_t done, std::size_t total)>;
tCompressSummary compressLogs(tLogFiles& logs, int thresholdDays, CalendarMs now,
                              const tCompressProgress& progress = {});

} // namespace pln
