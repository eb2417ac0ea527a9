#pragma once

#include "common/byte_writer.h"
#include "logstore/core/dos_date_time.h"
#include "logstore/core/log_files.h"
#include "support/error_text.h"
#include "support/recording_prompter.h"
#include "support/temp_dir.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace pln::test {

namespace fs = std::filesystem;

// A packed record date, built field by field.
constexpr std::uint32_t dos(int year, int month, int day, int hour = 0, int minute = 0,
                            int second = 0) {
    return static_cast<std::uint32_t>(year - 1980) << 25 | static_cast<std::uint32_t>(month) << 21 |
           static_cast<std::uint32_t>(day) << 16 | static_cast<std::uint32_t>(hour) << 11 |
           static_cast<std::uint32_t>(minute) << 5 | static_cast<std::uint32_t>(second / 2);
}

class RecordingRecorderLink : public tRecorderLink {
public:
    void broadcastNewLogs() override { ++newLogs; }
    void suspend(int taskCode) override { suspended.push_back(taskCode); }
    int newLogs = 0;
    std::vector<int> suspended;
};

// Byte-exact log files, written field by field.
class LogBytes {
public:
    // A known-file log's prefix; a stats log's prefix and header; a combined
    // log's prefix, header and sources, without the maximum.
    static LogBytes known() { return LogBytes().prefix(0); }
    static LogBytes stats(std::uint8_t valueType = 3, std::uint8_t flags = 0, double multiplier = 1,
                          std::string_view units = "") {
        return LogBytes().prefix(1).header(valueType, flags, multiplier, units);
    }
    static LogBytes combined(std::uint8_t operation, std::string_view first,
                             std::string_view second) {
        return LogBytes().prefix(3).header(5, 0, 1, "").sources(operation, first, second);
    }
    LogBytes& prefix(std::uint8_t kind, std::string_view magic = "PLN", std::uint8_t format = 0) {
        out_.text(magic);
        out_.u8(format);
        out_.u8(kind);
        return *this;
    }
    LogBytes& header(std::uint8_t valueType, std::uint8_t flags, double multiplier,
                     std::string_view units) {
        out_.u8(valueType);
        out_.u8(flags);
        out_.f64(multiplier);
        out_.u8(static_cast<std::uint8_t>(units.size() + 1));
        out_.text(units);
        out_.zeros(63 - units.size());
        return *this;
    }
    LogBytes& sourceName(std::string_view name) {
        out_.u8(static_cast<std::uint8_t>(name.size()));
        out_.text(name);
        out_.zeros(255 - name.size());
        return *this;
    }
    // The combine block of a virtual log without its maximum.
    LogBytes& sources(std::uint8_t operation, std::string_view first, std::string_view second) {
        return u8(operation).sourceName(first).sourceName(second);
    }
    LogBytes& u8(std::uint8_t v) { return out_.u8(v), *this; }
    LogBytes& f64(double v) { return out_.f64(v), *this; }
    LogBytes& int32Record(std::uint32_t stamp, std::int32_t value) {
        return record(stamp, 3, value);
    }
    LogBytes& int64Record(std::uint32_t stamp, std::int64_t value) {
        out_.u32(stamp);
        out_.i64(value);
        return *this;
    }
    // A stats record of value type 1 to 4 (integers of 1, 2, 4 or 8 bytes) or
    // 5 (a double).
    LogBytes& record(std::uint32_t stamp, std::uint8_t valueType, double value) {
        out_.u32(stamp);
        if (valueType == 5)
            return out_.f64(value), *this;
        const auto bits = static_cast<std::uint64_t>(static_cast<std::int64_t>(value));
        for (int i = 0; i < 1 << (valueType - 1); ++i)
            out_.u8(static_cast<std::uint8_t>(bits >> 8 * i));
        return *this;
    }
    LogBytes& knownFileRecord(std::uint32_t stamp, std::uint32_t requests, std::uint32_t accepted,
                              std::uint64_t transferred) {
        out_.u32(stamp);
        out_.u32(requests);
        out_.u32(accepted);
        out_.u64(transferred);
        return *this;
    }
    LogBytes& raw(std::string_view bytes) { return out_.text(bytes), *this; }
    std::vector<std::uint8_t> bytes() const { return out_.buffer(); }

private:
    ByteWriter out_;
};

inline constexpr std::string_view hashName = "0123456789ABCDEF0123456789ABCDEF";

// Every box a test shows is one it takes and checks.
class LogStoreTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(prompter.shown.empty()); }
    std::vector<std::string> errors() {
        std::vector<std::string> taken = prompter.errors();
        prompter.shown.clear();
        return taken;
    }
    std::string write(std::string_view fileName, const LogBytes& bytes) {
        return dir.write(fileName, bytes.bytes());
    }
    std::vector<std::uint8_t> read(std::string_view fileName) {
        return readBytes(dir.file(fileName));
    }

    const std::string hash{hashName};
    TempDir dir;
    RecordingPrompter prompter;
    RecordingRecorderLink recorder;
    tLogStoreContext context{dir.path(), prompter, recorder};
    tLogFiles logs{context};
};

} // namespace pln::test
