// A full drawing on the runtime axis (3 known files and 12 stats logs of 5
// years of 11-minute records, 1,000 pixels at 4 pixels per point), read from
// disk as the viewer does, against reading the same files' bytes.

#include "bench_logs.h"
#include "common/byte_writer.h"
#include "common/prompter.h"
#include "emulefiles/core/known_met_record.h"
#include "graphs/core/graph_data.h"
#include "logstore/core/dos_date_time.h"
#include "logstore/core/log_files.h"
#include "support/comparison.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace pln;
using namespace pln::bench;

// The bytes of a file read into a buffer of their size, as a log is loaded.
std::size_t readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    auto size = static_cast<std::size_t>(fs::file_size(path));
    auto bytes = std::make_unique_for_overwrite<char[]>(size);
    in.read(bytes.get(), static_cast<std::streamsize>(size));
    benchmark::DoNotOptimize(bytes.get());
    return size;
}

struct Profile {
    QuietPrompter prompter;
    tDetachedRecorderLink recorder;
    BenchFolder folder{"graphs"};
    tLogFiles logs{tLogStoreContext{folder.path(), prompter, recorder}};
    std::vector<std::unique_ptr<tKnownMetRecord>> files;
    tGraphRequest request;

    Profile() {
        folder.write(connRunTimeName + ".pln", statsLog(flagCumulative, true));
        for (std::size_t k = 0; k < 3; ++k) {
            files.push_back(tKnownMetRecord::createFromValues(
                "file", std::string(31, '0') + std::to_string(k + 1), 0, 0, 0, 1, ""));
            folder.write(files.back()->hash.toString() + ".pln_on",
                         knownFileLog(fiveYearsOfRecords, k));
        }
        for (int k = 0; k < 12; ++k)
            folder.write("statistics.ini-statistics,Value" + std::to_string(k) + ".pln_on",
                         statsLog(static_cast<std::uint8_t>((k % 2 ? flagShowWithRequests : 0) |
                                                            (k % 3 ? flagCumulative : 0)),
                                  false));
        logs.scanLogs();
        request.logFiles = &logs;
        request.knownMetLoaded = true;
        request.runtimeAxis = true;
        request.chartWidth = 1000;
        request.pointsPerPixel = 4;
        for (const auto& file : files)
            request.selectedKnownFiles.push_back(file.get());
        for (int k = 0; k < 12; ++k)
            request.selectedStatLogs.push_back(
                logs.findLog("statistics.ini-statistics,Value" + std::to_string(k)));
    }
};

void BM_DrawFullRuntimeAxis(benchmark::State& state) {
    Profile profile;
    Comparison comparison("draw", "raw_read");
    PeakMemory memory;
    std::size_t points = 0;
    for (auto _ : state) {
        Stopwatch drawing;
        tGraphResult result = computeGraphs(profile.request);
        state.SetIterationTime(comparison.addMeasured(drawing));
        points = 0;
        for (const auto& chart : result.series)
            for (const tGraphSeries& series : chart)
                points += series.points.size();
        Stopwatch reading;
        for (const auto& entry : fs::directory_iterator(profile.folder.path()))
            benchmark::DoNotOptimize(readBytes(entry.path().string()));
        comparison.addBaseline(reading);
    }
    state.counters["points"] = static_cast<double>(points);
    comparison.report(state, memory);
}
BENCHMARK(BM_DrawFullRuntimeAxis)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
