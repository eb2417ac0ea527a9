// Log store timings against the plain file operations they build on:
// scanning a folder of 5,000 logs, loading a 5-year known-file log (compared
// with reading the same bytes), and compressing 200 such logs (compared with
// copying the same files).

#include "bench_logs.h"
#include "common/byte_writer.h"
#include "common/prompter.h"
#include "logstore/core/compress.h"
#include "logstore/core/dos_date_time.h"
#include "logstore/core/log_files.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace pln;
using namespace pln::bench;

QuietPrompter prompter;
tDetachedRecorderLink recorder;

std::string hashText(std::size_t n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text(32, '0');
    for (std::size_t i = 0; i < 32; ++i)
        text[31 - i] = digits[(n >> (4 * (i % 16))) & 0xF];
    text[0] = digits[(n * 7) & 0xF];
    return text;
}

std::vector<std::uint8_t> statsLog(std::size_t records) {
    ByteWriter out;
    out.text("PLN");
    out.u8(0);
    out.u8(1);
    out.u8(4);
    out.u8(1);
    out.f64(1.0 / 1024);
    out.u8(13);
    out.text("kBytes / sec");
    out.zeros(51);
    for (std::size_t i = 0; i < records; ++i) {
        out.u32(calendarToDosDateTime(start + static_cast<std::int64_t>(i) * spacingMs));
        out.i64(static_cast<std::int64_t>(i) * 1'000'000);
    }
    return out.take();
}

double secondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_ScanLogs5000(benchmark::State& state) {
    BenchFolder folder("scan");
    for (std::size_t i = 0; i < 5000; ++i) {
        if (i % 50 == 0)
            folder.write("a" + std::to_string(i) + ".ini-s,k.pln_on", statsLog(200));
        else
            folder.write(hashText(i) + (i % 3 ? ".pln_on" : ".pln_off"), knownFileLog(200, i));
    }
    tLogFiles logs(tLogStoreContext{folder.path(), prompter, recorder});
    for (auto _ : state) {
        logs.scanLogs();
        benchmark::DoNotOptimize(logs.count());
    }
    state.counters["logs"] = static_cast<double>(logs.count());
}
BENCHMARK(BM_ScanLogs5000)->Unit(benchmark::kMillisecond);

std::size_t rawRead(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    ::fstat(fd, &st);
    auto size = static_cast<std::size_t>(st.st_size);
    auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::read(fd, buffer.get() + done, size - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    benchmark::DoNotOptimize(buffer.get());
    return done;
}

void BM_LoadFiveYearKnownFileLog(benchmark::State& state) {
    BenchFolder folder("load");
    const std::string name = hashText(1);
    folder.write(name + ".pln_on", knownFileLog(fiveYearsOfRecords, 1));
    tLogFile log(tLogStoreContext{folder.path(), prompter, recorder}, name);
    double loadSeconds = 0, readSeconds = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        log.loadValues();
        benchmark::DoNotOptimize(log.recordCount());
        log.freeValues();
        double load = secondsSince(t0);
        loadSeconds += load;
        t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(rawRead(log.path()));
        readSeconds += secondsSince(t0);
        state.SetIterationTime(load);
    }
    state.counters["records"] = static_cast<double>(fiveYearsOfRecords);
    state.counters["load_ms"] = loadSeconds * 1000 / static_cast<double>(state.iterations());
    state.counters["raw_read_ms"] = readSeconds * 1000 / static_cast<double>(state.iterations());
    state.counters["ratio"] = loadSeconds / readSeconds;
}
BENCHMARK(BM_LoadFiveYearKnownFileLog)->UseManualTime()->Unit(benchmark::kMillisecond);

void copyFolder(const std::string& from, const std::string& to) {
    for (const auto& entry : fs::directory_iterator(from))
        fs::copy_file(entry.path(), to + entry.path().filename().string(),
                      fs::copy_options::overwrite_existing);
}

void BM_CompressTwoHundredFiveYearLogs(benchmark::State& state) {
    BenchFolder pristine("pristine");
    BenchFolder work("work");
    BenchFolder copies("copies");
    for (std::size_t i = 0; i < 200; ++i)
        pristine.write(hashText(i) + ".pln_on", knownFileLog(fiveYearsOfRecords, i));
    const CalendarMs now = start + static_cast<std::int64_t>(fiveYearsOfRecords) * spacingMs;
    tLogFiles logs(tLogStoreContext{work.path(), prompter, recorder});
    double compressSeconds = 0, copySeconds = 0, copyOverSeconds = 0;
    tCompressSummary summary;
    for (auto _ : state) {
        // Both timings start with nothing left to write back, as logs that
        // have long been on disk are.
        copyFolder(pristine.path(), work.path());
        logs.scanLogs();
        ::sync();
        auto t0 = std::chrono::steady_clock::now();
        summary = compressLogs(logs, 30, now);
        double compress = secondsSince(t0);
        compressSeconds += compress;
        fs::remove_all(copies.path());
        fs::create_directory(copies.path());
        ::sync();
        t0 = std::chrono::steady_clock::now();
        copyFolder(pristine.path(), copies.path());
        copySeconds += secondsSince(t0);
        // Copying onto the copies frees the old files' blocks, as replacing
        // each log by its compressed form does.
        ::sync();
        t0 = std::chrono::steady_clock::now();
        copyFolder(pristine.path(), copies.path());
        copyOverSeconds += secondsSince(t0);
        state.SetIterationTime(compress);
    }
    state.counters["records_before"] = static_cast<double>(summary.recordsBefore);
    state.counters["records_after"] = static_cast<double>(summary.recordsAfter);
    state.counters["compress_s"] = compressSeconds / static_cast<double>(state.iterations());
    state.counters["copy_s"] = copySeconds / static_cast<double>(state.iterations());
    state.counters["copy_over_s"] = copyOverSeconds / static_cast<double>(state.iterations());
    state.counters["ratio"] = compressSeconds / copySeconds;
    state.counters["ratio_over"] = compressSeconds / copyOverSeconds;
}
BENCHMARK(BM_CompressTwoHundredFiveYearLogs)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
