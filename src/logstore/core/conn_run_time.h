#pragma once

#include <cstdint>
#include <span>

namespace pln {

class tLogFiles;

// eMule's connected run time restarts from zero when its statistics are
// reset. The log turns every such drop into a continuation of the running
// total: each index i whose stored value is below the stored value at i - 1
// adds the total reached at i - 1 to every value from i on, so one pass
// leaves the values non-decreasing across any number of resets. The records
// are the 8-byte (date, signed 32-bit seconds) records of the ConnRunTime
// log. True when a value changed.
bool correctConnRunTime(std::span<std::uint8_t> records);
// Whether any stored value is below the one before it, so that the records
// need the correction.
bool connRunTimeDrops(std::span<const std::uint8_t> records);

// The write-back of the correction, run while the recorder is suspended for
// it: the ConnRunTime log of the catalogue is read again from its file, the
// same correction is applied and the result replaces its record area. The
// file is read again rather than taken from memory because the recorder's
// answer may arrive after the records were released. True when a corrected
// record area was written.
bool writeBackConnRunTime(const tLogFiles& logs);

// Asks the recorder to pause for the write-back when a load of the
// catalogue's ConnRunTime log corrected its values since the last request.
// A load only reads; whoever loaded logs of the catalogue calls this after.
void requestConnRunTimeWriteBack(const tLogFiles& logs);

} // namespace pln
