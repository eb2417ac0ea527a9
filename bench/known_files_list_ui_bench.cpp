// The known files list with 100,000 known files, all of them found among
// 100,000 shared files: the list's first fill (shared-file lookup, cell
// values, names and folders ranked in the user's collation, full sort on the
// ten priorities, the view shown) against the same fill of the core table,
// which ranks by plain bytes; and a header click (the single-priority sort,
// the selection kept on its files, the view repainted) against the core
// table's sort alone.
#include "app/core/known_files_table.h"
#include "app/core/shared_lookup.h"
#include "app/ui/known_files_model.h"
#include "app/ui/list_view.h"
#include "emulefiles/core/known_met_list.h"
#include "logstore/core/log_files.h"
#include "logstore/core/recorder_link.h"
#include "support/comparison.h"

#include <QItemSelectionModel>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace pln {
namespace {

using namespace pln::bench;

constexpr int fileCount = 100'000;
constexpr FileTime nsPerSecond = 1'000'000'000;

class NoPrompts : public Prompter {
public:
    void showError(const std::string&) override {}
    void showWarning(const std::string&) override {}
    void showInformation(const std::string&) override {}
    bool confirm(const std::string&) override { return false; }
};

class LocalClock : public Clock {
public:
    std::int64_t nowUnixMs() override { return 0; }
    CalendarMs toLocalCalendar(std::int64_t unixMs) override {
        return unixEpochCalendarMs + unixMs;
    }
};

struct Data {
    std::string logsFolder;
    NoPrompts prompter;
    tDetachedRecorderLink recorder;
    std::unique_ptr<tLogFiles> logs;
    tKnownMetList list;
    tSharedFileTable shared;
    LocalClock clock;

    Data() {
        logsFolder =
            (std::filesystem::temp_directory_path() / ("pln-bench-" + std::to_string(::getpid())))
                .string() +
            "/";
        std::filesystem::create_directories(logsFolder);
        logs = std::make_unique<tLogFiles>(tLogStoreContext{logsFolder, prompter, recorder});
        std::mt19937_64 random(42);
        std::vector<tSharedFile> files;
        files.reserve(fileCount);
        list.reserve(fileCount);
        static const char* const folders[] = {"/data/Incoming/", "/data/Movies/", "/data/Music/"};
        for (int i = 0; i < fileCount; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "%s file %06llu.avi", i % 2 ? "Some" : "other",
                          static_cast<unsigned long long>(random() % 1'000'000));
            char hash[33];
            std::snprintf(hash, sizeof hash, "%016llX%016llX",
                          static_cast<unsigned long long>(random()),
                          static_cast<unsigned long long>(random()));
            const std::uint64_t size = random() % 4'000'000'000ull + 1;
            auto record = tKnownMetRecord::createFromValues(
                name, hash, random() % 10'000'000'000ull, 0, 0, size, "");
            record->date = 1'500'000'000 + static_cast<std::uint32_t>(random() % 100'000'000);
            const FileTime written = FileTime{record->date} * nsPerSecond + 300'000'000;
            files.push_back(
                {name,
                 {folders[i % 3], written,
                  written - static_cast<FileTime>(random() % 200'000) * nsPerSecond, 0, size}});
            list.append(name, std::move(record));
        }
        list.sortByHash();
        shared.assign(std::move(files));
    }
    ~Data() { std::filesystem::remove_all(logsFolder); }
};

Data& data() {
    static Data shared;
    return shared;
}

// The list as the main window shows it, with a few rows selected.
struct ShownList {
    tDrawnColours colours;
    tKnownFilesModel model{colours};
    tListView view;

    ShownList() {
        view.setModel(&model);
        view.resize(1000, 400);
        view.show();
    }
    void fill(Data& d, const tSharedLookup& lookup) {
        model.fill(d.list, *d.logs, tKnownFilesFilter::all, lookup);
        for (int row : {3, 500, 70'000})
            view.selectionModel()->select(model.index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        benchmark::DoNotOptimize(view.grab());
    }
};

void BM_ListFillAgainstTableFill(benchmark::State& state) {
    Data& d = data();
    const tSharedLookup lookup = sharedFileLookup(d.shared, d.clock);
    Comparison comparison("list_fill", "table_fill");
    PeakMemory memory;
    for (auto _ : state) {
        Stopwatch tableFill;
        {
            tKnownFilesTable table;
            table.fill(d.list, *d.logs, tKnownFilesFilter::all, lookup, rankIgnoringAsciiCase);
            benchmark::DoNotOptimize(table.row(0).name.data());
        }
        comparison.addBaseline(tableFill);
        ShownList shown;
        Stopwatch listFill;
        shown.fill(d, lookup);
        state.SetIterationTime(comparison.addMeasured(listFill));
    }
    state.counters["rows"] = fileCount;
    comparison.report(state, memory);
}
BENCHMARK(BM_ListFillAgainstTableFill)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// One header click on each column in turn: the column moves to the first
// priority and the rows are sorted on it alone.
void BM_HeaderClickAgainstTableSort(benchmark::State& state) {
    Data& d = data();
    const tSharedLookup lookup = sharedFileLookup(d.shared, d.clock);
    tKnownFilesTable table;
    table.fill(d.list, *d.logs, tKnownFilesFilter::all, lookup, rankIgnoringAsciiCase);
    ShownList shown;
    shown.fill(d, lookup);
    Comparison comparison("header_click", "table_sort");
    PeakMemory memory;
    int column = 0;
    for (auto _ : state) {
        Stopwatch tableSort;
        table.sortOrder().columnClick(column);
        table.sortByFirstPriority();
        comparison.addBaseline(tableSort);
        Stopwatch click;
        shown.model.columnClick(column);
        benchmark::DoNotOptimize(shown.view.grab());
        state.SetIterationTime(comparison.addMeasured(click));
        column = (column + 1) % knownFilesColumnCount;
    }
    comparison.report(state, memory);
}
BENCHMARK(BM_HeaderClickAgainstTableSort)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_SortFully(benchmark::State& state) {
    Data& d = data();
    tKnownFilesTable table;
    table.fill(d.list, *d.logs, tKnownFilesFilter::all, sharedFileLookup(d.shared, d.clock),
               rankIgnoringAsciiCase);
    for (auto _ : state) {
        table.sortOrder().columnRightClick(static_cast<int>(tKnownFilesColumn::name));
        table.sortFully();
    }
}
BENCHMARK(BM_SortFully)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pln
