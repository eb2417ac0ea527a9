// known.met timings against the plain file operations they build on: loading
// and saving a known.met of 100,000 records, compared with reading the same
// bytes into memory and with writing them through the same crash-safe
// replace.

#include "common/byte_writer.h"
#include "common/file_io.h"
#include "emulefiles/core/known_met.h"
#include "emulefiles/core/known_met_codec.h"
#include "platform/platform.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace pln;

constexpr std::size_t recordCount = 100'000;
constexpr std::uint64_t partSize = 9'728'000;

std::uint64_t nextRandom(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

tHash randomHash(std::uint64_t& state) {
    tHash h;
    for (auto& b : h.bytes)
        b = static_cast<std::uint8_t>(nextRandom(state));
    return h;
}

// Audio-sized, video-sized and document-sized files in equal parts, with the
// tags eMule keeps for a shared file.
std::unique_ptr<tKnownMetRecord> makeRecord(std::size_t i, std::uint64_t& state) {
    static constexpr std::uint64_t maxSizes[] = {12'000'000, 4'800'000'000, 3'000'000};
    std::uint64_t size = 20'000 + nextRandom(state) % maxSizes[i % 3];
    std::string name = "Some file name of a shared file " + std::to_string(i) +
                       (i % 5 == 0 ? " \xC3\xA9t\xC3\xA9.avi" : ".mp3");
    auto requested = static_cast<std::uint32_t>(nextRandom(state) % 5000);
    auto record = tKnownMetRecord::createFromValues(
        name, randomHash(state).toString(), nextRandom(state) % 50'000'000'000, requested,
        requested / 2, size, i % 3 == 0 ? "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567" : "");
    record->date = static_cast<std::uint32_t>(1'500'000'000 + i);
    std::uint64_t parts = (size + partSize - 1) / partSize;
    for (std::uint64_t p = 0; parts > 1 && p < parts; ++p)
        record->partHashes.push_back(randomHash(state));
    for (std::uint8_t id : {0x20, 0x21, 0x19})
        record->tags.append(tKnownMetTag::createFromValue(id, nextRandom(state) % 2'000'000'000));
    tKnownMetTag fileType;
    fileType.nameId = 0x03;
    fileType.tagType = tagType::string;
    fileType.text = i % 3 == 1 ? "Video" : "Audio";
    record->tags.append(std::move(fileType));
    return record;
}

// The file is written once per run and removed at exit.
class Fixture {
public:
    Fixture() {
        folder_ = fs::temp_directory_path() / ("pln-known-met-bench-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        tKnownMetList list;
        std::uint64_t state = 42;
        for (std::size_t i = 0; i < recordCount; ++i) {
            auto record = makeRecord(i, state);
            std::string name = record->getFileName();
            list.append(std::move(name), std::move(record));
        }
        ByteWriter out;
        writeKnownMet(list, out);
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

void BM_RawRead(benchmark::State& state) {
    fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(readWholeFile(fixture().path()));
    bytesPerIteration(state);
}
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Load(benchmark::State& state) {
    NativePlatform platform;
    tKnownMet knownMet(fixture().path(), platform.services().files, platform.services().clock);
    for (auto _ : state) {
        knownMet.load();
        benchmark::DoNotOptimize(knownMet.list());
    }
    if (knownMet.list()->count() != recordCount)
        throw std::runtime_error("the benchmark file does not load");
    bytesPerIteration(state);
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RawWrite(benchmark::State& state) {
    for (auto _ : state)
        replaceFileContents(fixture().copyPath(), fixture().bytes());
    bytesPerIteration(state);
}
BENCHMARK(BM_RawWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Save(benchmark::State& state) {
    NativePlatform platform;
    replaceFileContents(fixture().copyPath(), fixture().bytes());
    tKnownMet knownMet(fixture().copyPath(), platform.services().files, platform.services().clock);
    knownMet.load();
    for (auto _ : state)
        knownMet.save();
    bytesPerIteration(state);
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->UseRealTime();

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
