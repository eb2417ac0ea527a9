#pragma once

#include "logstore/core/log_records.h"

#include <cstdint>
#include <span>

namespace pln {

// What the drop correction of a known-file log added to its counters.
struct tDropCorrection {
    tKnownFileValues added;
    bool transferred = false;
    bool requests = false;
    bool accepted = false;

    bool any() const { return transferred || requests || accepted; }
};

// eMule's counters restart from zero when known.met is lost. Walking a
// known-file log's records (20 bytes each) from the last to the first,
// every drop of a counter is undone by adding the value it had reached
// before the drop to that record and to every later one, so the counters
// never decrease afterwards. The transferred bytes compare as signed 64-bit
// values, the requests as unsigned 32-bit ones. Because the walk goes
// backwards, each added value already holds the restarts after it.
tDropCorrection correctDrops(std::span<std::uint8_t> records);

} // namespace pln
