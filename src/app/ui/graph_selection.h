#pragma once

#include "graphs/core/graph_data.h"

namespace pln {

class tKnownFilesList;
class tStatsLogsList;

// The selection with the known files' part (reference and selected files)
// taken from that list, and with the stats logs' part from the other. Each
// list gives its part when it changed: the rows of the other may wait for a
// refill after the catalogue was read again.
tGraphSelection withFiles(tGraphSelection selection, tKnownFilesList& knownFiles);
tGraphSelection withLogs(tGraphSelection selection, tStatsLogsList& statsLogs);

} // namespace pln
