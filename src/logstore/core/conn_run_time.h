#pragma once

#include <cstdint>
#include <span>

namespace pln {

class tLogFiles;

// eMule's connected run time restarts from zero when its statistics are
// reset. The log turns such a drop into a continuation of the running total:
// the latest index i whose value is below the value at i - 1 is found, and
// the value at i - 1 is added to every value from i on. One drop is mended
// per call; older drops are mended by later loads. The records are the
// 8-byte (date, signed 32-bit seconds) records of the ConnRunTime log.
// True when a value changed.
bool correctConnRunTime(std::span<std::uint8_t> records);

// The write-back of the correction, run while the recorder is suspended for
// it: the ConnRunTime log of the catalogue is read again from its file, the
// same correction is applied and the result replaces its record area. The
// file is read again rather than taken from memory because the recorder's
// answer may arrive after the records were released. True when a corrected
// record area was written.
bool writeBackConnRunTime(const tLogFiles& logs);

} // namespace pln
