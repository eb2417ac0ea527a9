#pragma once

// What the benchmarks share: a prompter that stays silent (and fails the run
// on an error) and the logs of five years of 11-minute samples.

#include "common/byte_writer.h"
#include "common/prompter.h"
#include "logstore/core/dos_date_time.h"
#include "logstore/core/log_types.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace pln::bench {

constexpr std::int64_t spacingMs = 660'000;
constexpr std::size_t fiveYearsOfRecords = 5 * 365 * 24 * 60 / 11;
inline const CalendarMs start = calendarDayOf(2020, 1, 1) * msPerDay;

class QuietPrompter : public Prompter {
public:
    void showError(const std::string& text) override { throw std::runtime_error(text); }
    void showWarning(const std::string&) override {}
    void showInformation(const std::string&) override {}
    bool confirm(const std::string&) override { return false; }
};

// A folder under the temporary folder, removed with what it holds.
class BenchFolder {
public:
    explicit BenchFolder(const std::string& tag) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / ("pln-bench-" + tag + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        path_ = pattern + "/";
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    const std::string& path() const { return path_; }
    void write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream out(path_ + name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

private:
    std::string path_;
};

inline dosDateTime stampOf(std::size_t i) {
    return calendarToDosDateTime(start + static_cast<std::int64_t>(i) * spacingMs);
}

// Counters of one known file sampled every 11 minutes.
inline std::vector<std::uint8_t> knownFileLog(std::size_t records, std::size_t seed) {
    ByteWriter out;
    out.reserve(5 + records * 20);
    out.text("PLN");
    out.u8(0);
    out.u8(0);
    std::uint32_t requests = 0, accepted = 0;
    std::uint64_t transferred = 0;
    for (std::size_t i = 0; i < records; ++i) {
        std::size_t mix = (i * 2654435761u + seed) >> 7;
        requests += static_cast<std::uint32_t>(mix % 4);
        accepted += static_cast<std::uint32_t>(mix % 3 == 0);
        transferred += mix % 5 == 0 ? 180'000 + mix % 9'000 : 0;
        out.u32(stampOf(i));
        out.u32(requests);
        out.u32(accepted);
        out.u64(transferred);
    }
    return out.take();
}

inline const std::string connRunTimeName = "statistics.ini-statistics,ConnRunTime";

// A 32-bit value; the ConnRunTime log runs 600 of every 660 seconds.
inline std::vector<std::uint8_t> statsLog(std::uint8_t flags, bool runTime) {
    ByteWriter out;
    out.text("PLN");
    out.u8(0);
    out.u8(1);
    out.u8(3);
    out.u8(flags);
    out.f64(1.0);
    out.u8(1);
    out.zeros(63);
    for (std::size_t i = 0; i < fiveYearsOfRecords; ++i) {
        out.u32(stampOf(i));
        out.i32(static_cast<std::int32_t>(runTime ? i * 600 : (i * 7919) % 5000));
    }
    return out.take();
}

} // namespace pln::bench
