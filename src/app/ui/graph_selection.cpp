#include "app/ui/graph_selection.h"

#include "app/ui/known_files_list.h"
#include "app/ui/stats_logs_list.h"
#include "emulefiles/core/known_met_record.h"

namespace pln {

namespace {

std::string hashOf(const tKnownMetRecord* record) {
    return record ? record->hash.toString() : std::string();
}

} // namespace

tGraphSelection withFiles(tGraphSelection selection, tKnownFilesList& knownFiles) {
    selection.reference1 = hashOf(knownFiles.model().reference1());
    selection.reference2 = hashOf(knownFiles.model().reference2());
    selection.files.clear();
    for (const tKnownMetRecord* record : knownFiles.selectedRecords())
        selection.files.push_back(hashOf(record));
    return selection;
}

tGraphSelection withLogs(tGraphSelection selection, tStatsLogsList& statsLogs) {
    selection.logs.clear();
    for (const std::size_t position : statsLogs.selectedPositions())
        selection.logs.push_back(statsLogs.model().table().logName(position));
    return selection;
}

} // namespace pln
