// The shared-file scan against a plain listing of the same tree, and the
// matching of known files against the scan's table.

#include "emulefiles/core/known_met_record.h"
#include "emulefiles/core/shared_folders.h"
#include "platform/file_listing.h"
#include "platform/platform.h"

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace pln;

constexpr int folderCount = 20;
constexpr int filesPerFolder = 5000;

std::string hashText(int i) {
    char text[33];
    std::snprintf(text, sizeof text, "%032X", i);
    return text;
}

// 100,000 files of 1 byte in 20 folders, listed in shareddir.dat of a
// configuration folder; removed when the program ends.
struct Tree {
    std::string root;
    std::string config;
    std::vector<std::string> folders;
    std::vector<std::unique_ptr<tKnownMetRecord>> known;

    Tree() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "pln-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create the benchmark folder");
        root = pattern + "/";
        config = root + "config/";
        std::filesystem::create_directory(config);
        std::ofstream dirs(config + "shareddir.dat", std::ios::binary);
        for (int f = 0; f < folderCount; ++f) {
            std::string folder = root + "share" + std::to_string(f) + "/";
            std::filesystem::create_directory(folder);
            folders.push_back(folder);
            dirs << folder << "\r\n";
            for (int i = 0; i < filesPerFolder; ++i)
                addFile(folder, f * filesPerFolder + i);
        }
    }
    ~Tree() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }

    void addFile(const std::string& folder, int index) {
        std::string name = "Shared file number " + std::to_string(index) + ".avi";
        std::string path = folder + name;
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, "x", 1) != 1)
            throw std::runtime_error("cannot write " + path);
        struct stat st {};
        ::fstat(fd, &st);
        ::close(fd);
        auto record = tKnownMetRecord::createFromValues(name, hashText(index), 0, 0, 0, 1, "");
        record->date = static_cast<std::uint32_t>(st.st_mtim.tv_sec);
        known.push_back(std::move(record));
    }
};

Tree& tree() {
    static Tree instance;
    return instance;
}

void BM_PlainListingWithStat(benchmark::State& state) {
    Tree& t = tree();
    for (auto _ : state) {
        std::uint64_t total = 0;
        for (const auto& folder : t.folders) {
            DIR* dir = ::opendir(folder.c_str());
            while (const struct dirent* d = ::readdir(dir)) {
                struct stat st {};
                if (::fstatat(::dirfd(dir), d->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
                    total += static_cast<std::uint64_t>(st.st_size);
            }
            ::closedir(dir);
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_PlainListingWithStat)->Unit(benchmark::kMillisecond);

struct Scanner {
    NativePlatform native;
    std::unique_ptr<FileListing> listing = makeNativeFileListing();
    tSharedFolders folders{native.services().files, native.services().clock,
                           native.services().ini,   *listing,
                           tree().config,           '/'};
    Scanner() {
        folders.loadSharedDirs();
        folders.loadSharedFiles();
    }
};

void BM_ScanSharedFiles(benchmark::State& state) {
    Scanner scanner;
    tSharedFileTable table;
    for (auto _ : state) {
        scanner.folders.scanSharedFiles(table);
        benchmark::DoNotOptimize(table.size());
    }
    if (table.size() != folderCount * filesPerFolder)
        state.SkipWithError("the scan missed files");
}
BENCHMARK(BM_ScanSharedFiles)->Unit(benchmark::kMillisecond);

void BM_MatchKnownFiles(benchmark::State& state) {
    Scanner scanner;
    tSharedFileTable table;
    scanner.folders.scanSharedFiles(table);
    const auto& known = tree().known;
    std::size_t shared = 0;
    for (auto _ : state) {
        shared = 0;
        for (const auto& record : known)
            if (findSharedFile(table, record->getFileName(), record->getFileSize(), record->date) >=
                0)
                ++shared;
        benchmark::DoNotOptimize(shared);
    }
    if (shared != known.size())
        state.SkipWithError("known files were not matched");
}
BENCHMARK(BM_MatchKnownFiles)->Unit(benchmark::kMillisecond);

} // namespace
