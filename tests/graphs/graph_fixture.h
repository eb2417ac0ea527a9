#pragma once

#include "emulefiles/core/known_met_record.h"
#include "graphs/core/graph_data.h"
#include "graphs/core/readout.h"
#include "logstore/core/record_instants.h"
#include "logstore/log_fixture.h"
#include "support/hash_text.h"

#include <gmock/gmock.h>
#include <memory>

namespace pln::test {

using ::testing::ElementsAre;

// 2020-01-01 00:00 and the stamp a number of seconds after it.
inline const CalendarMs graphBase = calendarDayOf(2020, 1, 1) * msPerDay;
inline dosDateTime at(std::int64_t seconds) {
    return calendarToDosDateTime(graphBase + seconds * 1000);
}
// Its instant when stamps are read as UTC (no time-zone rules given).
inline std::int64_t instantAt(std::int64_t seconds) {
    return (graphBase - unixEpochCalendarMs) / 1000 + seconds;
}
inline double dayAt(std::int64_t seconds) {
    return static_cast<double>(graphBase + seconds * 1000) / msPerDay;
}

struct KnownRecord {
    std::int64_t seconds;
    std::uint32_t requests;
    std::uint32_t accepted;
    std::uint64_t transferred;
};

// A logs folder, its catalogue and known files, and a request over them.
class GraphTest : public LogStoreTest {
protected:
    GraphTest() {
        request.knownMetLoaded = true;
        request.runtimeAxis = false;
        request.chartWidth = 400;
    }
    void knownLog(int n, const std::vector<KnownRecord>& records) {
        LogBytes bytes = LogBytes::known();
        for (const KnownRecord& r : records)
            bytes.knownFileRecord(at(r.seconds), r.requests, r.accepted, r.transferred);
        write(hashOf(n) + ".pln_on", bytes);
    }
    // A stats log of statistics.ini with values 660 s apart, stored in the
    // given value type (1 byte .. 5 double).
    void typedLog(const std::string& key, std::uint8_t valueType, std::uint8_t flags,
                  double multiplier, const std::vector<double>& values) {
        LogBytes bytes = LogBytes::stats(valueType, flags, multiplier, "units");
        for (std::size_t k = 0; k < values.size(); ++k)
            bytes.record(at(660 * static_cast<std::int64_t>(k)), valueType, values[k]);
        write("statistics.ini-statistics," + key + ".pln_on", bytes);
    }
    void statLog(const std::string& key, std::uint8_t flags, const std::vector<double>& values) {
        typedLog(key, valueTypeInteger, flags, 1, values);
    }
    void connRunTime(const std::vector<double>& values) {
        typedLog("ConnRunTime", valueTypeInteger, 1, 24, values);
    }
    void combinedLog(const std::string& title, std::uint8_t operation, const std::string& first,
                     const std::string& second, double maxValue, std::uint8_t flags = 0,
                     double multiplier = 1) {
        write("virtual;" + title + ".pln_on",
              LogBytes()
                  .prefix(3)
                  .header(5, flags, multiplier, "ratio")
                  .sources(operation, "statistics.ini-statistics," + first,
                           "statistics.ini-statistics," + second)
                  .f64(maxValue));
    }
    const tKnownMetRecord* knownFile(int n, const std::string& name = "file") {
        files.push_back(tKnownMetRecord::createFromValues(name, hashOf(n), 0, 0, 0, 1, ""));
        return files.back().get();
    }
    tLogFile* stat(const std::string& name) {
        return logs.findLog(name.starts_with("virtual;") ? name
                                                         : "statistics.ini-statistics," + name);
    }
    // Catalogues the files written so far; logs are looked up after it.
    void scan() {
        logs.scanLogs();
        request.logFiles = &logs;
    }
    tGraphResult draw() { return computeGraphs(request); }

    std::vector<std::unique_ptr<tKnownMetRecord>> files;
    tGraphRequest request;
};

} // namespace pln::test
