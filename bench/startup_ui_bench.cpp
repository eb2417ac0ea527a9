// Start-up with a big profile: from the main window's construction until
// both lists are filled and the first drawing is done, with a known.met of
// 100,000 records, all of them shared, and 5,000 logs; against reading the
// bytes of the files the start-up reads (known.met, the logs, the settings).
// The peak resident memory the start-up adds is set against those bytes.

#include "app/ui/known_files_list.h"
#include "app/ui/stats_logs_list.h"
#include "common/file_io.h"
#include "emulefiles/core/known_met_codec.h"
#include "support/comparison.h"
#include "support/known_met_data.h"
#include "support/viewer_profile.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace pln;
using namespace pln::bench;

constexpr std::size_t recordCount = 100'000;
constexpr std::size_t logCount = 5'000;
constexpr std::size_t recordsPerLog = 200;

// A file of that size, holey so that it takes no disk space, dated as its
// known.met record.
void writeSharedFile(const std::string& path, std::uint64_t size, std::uint32_t date) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const timespec times[2] = {{date, 0}, {date, 0}};
    const bool written =
        fd >= 0 && ::ftruncate(fd, static_cast<off_t>(size)) == 0 && ::futimens(fd, times) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!written)
        throw std::runtime_error("cannot write " + path);
}

struct StartupProfile : ViewerProfile {
    std::vector<std::string> readFiles;
    std::size_t readBytes = 0;

    StartupProfile() : ViewerProfile("startup") {
        tKnownMetList list = benchKnownMetList(recordCount);
        for (std::size_t i = 0; i < list.count(); ++i) {
            const tKnownMetRecord& record = list.record(i);
            writeSharedFile(folder.path() + "eMule/Incoming/" + list.name(i), record.getFileSize(),
                            record.date);
        }
        for (std::size_t i = 0; i + 1 < logCount; ++i)
            folder.write("PLN/PLN logs/" + list.record(i * 17).hash.toString() + ".pln_on",
                         knownFileLog(recordsPerLog, i));
        folder.write("PLN/PLN logs/" + connRunTimeName + ".pln", statsLog(flagCumulative, true));
        ByteWriter out;
        writeKnownMet(list, out);
        folder.write("eMule/config/known.met", out.take());
        settle(locations.eMuleConfigFolder + "known.met");
        for (const auto& entry : fs::recursive_directory_iterator(folder.path()))
            if (entry.is_regular_file() && entry.path().parent_path().filename() != "Incoming") {
                readFiles.push_back(entry.path().string());
                readBytes += static_cast<std::size_t>(entry.file_size());
            }
    }
};

void BM_StartupAgainstRawRead(benchmark::State& state) {
    StartupProfile profile;
    NativePlatform native;
    QuietPrompter prompter;
    Comparison comparison("startup", "raw_read");
    PeakMemory memory;
    double peakMegabytes = 0;
    for (auto _ : state) {
        Stopwatch reading;
        for (const std::string& path : profile.readFiles)
            benchmark::DoNotOptimize(readWholeFile(path));
        comparison.addBaseline(reading);
        memory.restart();
        Stopwatch starting;
        std::unique_ptr<tMainForm> form = profile.open(native, prompter);
        form->show();
        finishScheduledWork(*form);
        state.SetIterationTime(comparison.addMeasured(starting));
        peakMegabytes = std::max(peakMegabytes, memory.addedMegabytes());
        if (form->knownFilesList().model().rowCount() != static_cast<int>(recordCount) ||
            form->statsLogsList().model().rowCount() == 0)
            throw std::runtime_error("the lists are not filled");
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    comparison.report(state, peakMegabytes);
    state.counters["read_MB"] = static_cast<double>(profile.readBytes) / (1024 * 1024);
    state.counters["peak_per_read"] =
        peakMegabytes * 1024 * 1024 / static_cast<double>(profile.readBytes);
}
BENCHMARK(BM_StartupAgainstRawRead)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
