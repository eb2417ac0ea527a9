#pragma once

#include "graphs/core/graph_data.h"

#include <vector>

namespace pln {

class tKnownMetRecord;
class tLogFile;

// A known file drawn in slot position + 1.
struct tChosenKnownFile {
    const tKnownMetRecord* record = nullptr;
    tLogFile* log = nullptr;
};

// A stats log drawn as the position-th log of its chart.
struct tChosenStatLog {
    tLogFile* log = nullptr;
    tChartId chart = tChartId::requests;
    int position = 0;
};

// The logs of one drawing. Every log loaded through it is unloaded when it
// goes away, whatever happened in between.
class tGraphLogs {
public:
    tGraphLogs() = default;
    ~tGraphLogs();
    tGraphLogs(const tGraphLogs&) = delete;
    tGraphLogs& operator=(const tGraphLogs&) = delete;

    // Loads the log and keeps it to be unloaded.
    void load(tLogFile& log);

    // Reference files first, then the other selected files in list order,
    // up to three whose logs hold enough records to draw.
    void chooseKnownFiles(const tGraphRequest& request);
    // The selected stats logs in list order, up to six per chart.
    void chooseStatLogs(const tGraphRequest& request);

    const std::vector<tChosenKnownFile>& knownFiles() const { return knownFiles_; }
    const std::vector<tChosenStatLog>& statLogs() const { return statLogs_; }

private:
    std::vector<tLogFile*> loaded_;
    std::vector<tChosenKnownFile> knownFiles_;
    std::vector<tChosenStatLog> statLogs_;
};

// The chart of a stats log: the requests chart when flagged for it.
tChartId chartOf(const tLogFile& log);

} // namespace pln
