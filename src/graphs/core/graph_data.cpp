#include "graphs/core/graph_data.h"

#include "emulefiles/core/known_met_list.h"
#include "logstore/core/log_files.h"

#include <algorithm>

namespace pln {

std::string seriesTitle(tChartId chart, int index) {
    if (index == 0)
        return "Events";
    if (chart == tChartId::requests) {
        if (index <= 6)
            return (index % 2 == 1 ? "Requested " : "Accepted ") + std::to_string((index + 1) / 2);
        return "Inifile " + std::to_string(index - 6);
    }
    if (index <= 3)
        return "Transferred " + std::to_string(index);
    return "Inifile " + std::to_string(index - 3);
}

void applyDisplayColours(const tGraphResult& result, tKnownMetList* knownFiles,
                         const tLogFiles& logFiles) {
    if (knownFiles != nullptr) {
        for (std::size_t i = 0; i < knownFiles->count(); ++i)
            knownFiles->record(i).graphColor = clWindow;
        for (const tDrawnKnownFile& drawn : result.drawnKnownFiles) {
            std::size_t index = 0;
            if (knownFiles->findByHash(drawn.hash, index))
                knownFiles->record(index).graphColor = drawn.colour;
        }
    }
    for (const auto& log : logFiles.logs())
        log->setColour(clWindow);
    for (const tDrawnStatLog& drawn : result.drawnStatLogs)
        if (tLogFile* log = logFiles.findLog(drawn.name))
            log->setColour(drawn.colour);
}

} // namespace pln
