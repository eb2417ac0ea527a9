// known.met timings against the plain file operations they build on: loading
// and saving a known.met of 100,000 records, compared with reading the same
// bytes into memory and with writing them through the same crash-safe
// replace.

#include "common/byte_writer.h"
#include "common/file_io.h"
#include "emulefiles/core/known_met.h"
#include "emulefiles/core/known_met_codec.h"
#include "platform/platform.h"
#include "support/comparison.h"
#include "support/known_met_data.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace pln;
using namespace pln::bench;

constexpr std::size_t recordCount = 100'000;

// The file is written once per run and removed at exit.
class Fixture {
public:
    Fixture() {
        folder_ = fs::temp_directory_path() / ("pln-known-met-bench-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        ByteWriter out;
        writeKnownMet(benchKnownMetList(recordCount), out);
        bytes_ = out.take();
        replaceFileContents(path(), bytes_);
    }
    ~Fixture() {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    std::string path() const { return (folder_ / "known.met").string(); }
    std::string copyPath() const { return (folder_ / "copy.met").string(); }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    fs::path folder_;
    std::vector<std::uint8_t> bytes_;
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void bytesPerIteration(benchmark::State& state) {
    state.counters["file_MB"] = static_cast<double>(fixture().bytes().size()) / 1e6;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(fixture().bytes().size()));
}

// Each iteration reads the bytes, then loads the file: both find it in the
// page cache.
void BM_LoadAgainstRawRead(benchmark::State& state) {
    NativePlatform platform;
    tKnownMet knownMet(fixture().path(), platform.services().files, platform.services().clock);
    Comparison comparison("load", "raw_read");
    PeakMemory memory;
    for (auto _ : state) {
        Stopwatch reading;
        benchmark::DoNotOptimize(readWholeFile(fixture().path()));
        comparison.addBaseline(reading);
        Stopwatch loading;
        knownMet.load();
        benchmark::DoNotOptimize(knownMet.list());
        state.SetIterationTime(comparison.addMeasured(loading));
    }
    if (knownMet.list()->count() != recordCount)
        throw std::runtime_error("the benchmark file does not load");
    comparison.report(state, memory);
    bytesPerIteration(state);
}
BENCHMARK(BM_LoadAgainstRawRead)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SaveAgainstRawWrite(benchmark::State& state) {
    NativePlatform platform;
    replaceFileContents(fixture().copyPath(), fixture().bytes());
    tKnownMet knownMet(fixture().copyPath(), platform.services().files, platform.services().clock);
    knownMet.load();
    Comparison comparison("save", "raw_write");
    PeakMemory memory;
    for (auto _ : state) {
        Stopwatch writing;
        replaceFileContents(fixture().copyPath(), fixture().bytes());
        comparison.addBaseline(writing);
        Stopwatch saving;
        knownMet.save();
        state.SetIterationTime(comparison.addMeasured(saving));
    }
    comparison.report(state, memory);
    bytesPerIteration(state);
}
BENCHMARK(BM_SaveAgainstRawWrite)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// The codec's share of a save: building the file in memory.
void BM_Encode(benchmark::State& state) {
    NativePlatform platform;
    tKnownMet knownMet(fixture().path(), platform.services().files, platform.services().clock);
    knownMet.load();
    for (auto _ : state) {
        ByteWriter out;
        writeKnownMet(*knownMet.list(), out);
        benchmark::DoNotOptimize(out.buffer().data());
    }
    bytesPerIteration(state);
}
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
