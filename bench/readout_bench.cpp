// The read-out's work for one mouse move over a chart: the ConnRunTime log
// and events.log consulted (kept between moves while their files do not
// change, or read afresh as when each move went to disk), the runtime and
// date at the cursor and five pixels either side, and the events between
// them. The data: 5 years of ConnRunTime records every 11 minutes and
// 1,000 events.

#include "bench_logs.h"
#include "common/byte_writer.h"
#include "common/file_io.h"
#include "common/prompter.h"
#include "graphs/core/readout.h"
#include "logstore/core/log_codec.h"
#include "logstore/core/log_files.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;
using namespace pln;
using namespace pln::bench;

constexpr std::int64_t spacingSeconds = 660;
constexpr std::int64_t fiveYears = 5 * 365 * 86'400;
constexpr std::int64_t eventCount = 1000;

// A data folder with its logs folder, removed at the end.
struct Profile {
    fs::path folder = fs::temp_directory_path() / "pln-readout-bench";
    QuietPrompter prompter;
    tDetachedRecorderLink recorder;
    std::unique_ptr<tLogFiles> logs;

    Profile() {
        fs::remove_all(folder);
        fs::create_directories(folder / "logs");
        ByteWriter log;
        for (std::uint8_t byte :
             encodeNewLog(tLogKind::iniValue, {valueTypeInteger, 1, 24.0, ""}, {}))
            log.u8(byte);
        // eMule runs about two thirds of the time.
        for (std::int64_t s = 0, runtime = 0; s < fiveYears; s += spacingSeconds) {
            log.u32(calendarToDosDateTime(start + s * 1000));
            log.i32(static_cast<std::int32_t>(runtime));
            runtime += s % 3 ? spacingSeconds : 0;
        }
        replaceFileContents((folder / "logs/statistics.ini-statistics,ConnRunTime.pln").string(),
                            log.buffer());
        tEventsLog events(eventsPath());
        for (std::int64_t i = 0; i < eventCount; ++i)
            events.add({start + i * (fiveYears / eventCount) * 1000,
                        tEvent::makePart("event " + std::to_string(i), "")});
        events.save();
        logs = std::make_unique<tLogFiles>(
            tLogStoreContext{(folder / "logs").string() + "/", prompter, recorder});
        logs->scanLogs();
    }
    ~Profile() { fs::remove_all(folder); }
    std::string eventsPath() const { return (folder / "events.log").string(); }
};

// One move at the middle of the range on the date axis, 800 pixels wide.
std::size_t move(tReadoutSources& sources, Profile& profile) {
    sources.refresh(*profile.logs, profile.prompter);
    const double day = static_cast<double>(start) / msPerDay + 2.5 * 365;
    const double pixel = 5.0 * 365 / 800;
    tCursorTime here = cursorToTime(day, false, sources.runtimeMap());
    tCursorTime from = cursorToTime(day - 5 * pixel, false, sources.runtimeMap());
    tCursorTime to = cursorToTime(day + 5 * pixel, false, sources.runtimeMap());
    benchmark::DoNotOptimize(here);
    return eventsNear(sources.events(), *from.date, *to.date,
                      [](const std::string&) { return true; })
        .size();
}

void BM_ReadoutMoveKept(benchmark::State& state) {
    Profile profile;
    tReadoutSources sources(profile.eventsPath());
    for (auto _ : state)
        benchmark::DoNotOptimize(move(sources, profile));
    state.counters["records"] = static_cast<double>(sources.runtimeMap().count());
    state.counters["events"] = static_cast<double>(sources.events().count());
}
BENCHMARK(BM_ReadoutMoveKept)->Unit(benchmark::kMicrosecond);

void BM_ReadoutMoveFromDisk(benchmark::State& state) {
    Profile profile;
    for (auto _ : state) {
        tReadoutSources sources(profile.eventsPath());
        benchmark::DoNotOptimize(move(sources, profile));
    }
}
BENCHMARK(BM_ReadoutMoveFromDisk)->Unit(benchmark::kMicrosecond);

} // namespace
