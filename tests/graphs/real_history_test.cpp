#include "graph_fixture.h"
#include "logstore/core/compress.h"
#include "platform/platform.h"
#include "support/scoped_env.h"

namespace pln::test {
namespace {

// eMule saves 11 minutes apart in real time, in a time zone, with what real
// histories hold; every rate in them is constant.
struct History {
    const char* name;
    const char* zone;
    std::int64_t start;           // instant of the first save
    int change;                   // the save around which the read-out is checked
    std::vector<int> resets = {}; // statistics restart right after these saves
    int shiftAt = -1;             // from this save on the stamps read shiftMs more
    std::int64_t shiftMs = 0;     // a clock set back, or a time eMule did not run
    int connRunTimeFrom = 0;      // the ConnRunTime log begins with this save
    // Points allowed off the rate on the date axis, where a clock set back
    // leaves one interval shorter than the counts it holds, or a stop longer.
    long offOnDates = 0;
};

constexpr int saves = 150;
constexpr std::int64_t period = 660;

std::int64_t utc(int year, int month, int day, int hour) {
    return (calendarDayOf(year, month, day) * msPerDay - unixEpochCalendarMs) / 1000 + hour * 3600;
}

class RealHistoryTest : public LogStoreTest, public ::testing::WithParamInterface<History> {
protected:
    RealHistoryTest() {
        const History& h = GetParam();
        LogBytes known = LogBytes::known(), queue = LogBytes::stats(3, 0, 1, "clients");
        LogBytes runTime = LogBytes::stats(3, flagCumulative, 24, "h");
        LogBytes uploaded = LogBytes::stats(3, flagCumulative, 1, "B/s");
        int lastReset = 0;
        for (int k = 0; k < saves; ++k) {
            const std::int64_t shift = h.shiftAt >= 0 && k >= h.shiftAt ? h.shiftMs : 0;
            stamps.push_back(calendarToDosDateTime(
                clock.toLocalCalendar((h.start + k * period) * 1000) + shift));
            // eMule's own counts restart after a reset.
            const auto counted = static_cast<std::int32_t>(period * (k - lastReset));
            if (std::find(h.resets.begin(), h.resets.end(), k) != h.resets.end())
                lastReset = k;
            const auto n = static_cast<std::uint32_t>(k);
            known.knownFileRecord(stamps.back(), n, n, std::uint64_t{n} * period * 1024);
            if (k >= h.connRunTimeFrom)
                runTime.int32Record(stamps.back(), counted);
            uploaded.int32Record(stamps.back(), counted);
            queue.int32Record(stamps.back(), 7);
        }
        write(hashOf(1) + ".pln_on", known);
        write("statistics.ini-statistics,ConnRunTime.pln_on", runTime);
        write("statistics.ini-statistics,Uploaded.pln_on", uploaded);
        write("preferences.ini-eMule,Queue.pln_on", queue);
        logs.scanLogs();
        file = tKnownMetRecord::createFromValues("f", hashOf(1), 0, 0, 0, 1, "");
        request.logFiles = &logs;
        request.knownMetLoaded = true;
        request.chartWidth = 100; // 24 points: buckets of about six saves
        request.selectedKnownFiles = {file.get()};
        request.selectedStatLogs = {logs.findLog("statistics.ini-statistics,Uploaded"),
                                    logs.findLog("preferences.ini-eMule,Queue")};
    }

    void SetUp() override {
#ifdef _WIN32
        if (std::string_view(GetParam().zone) != "UTC")
            GTEST_SKIP() << "Windows reads the time zone from the system, not from TZ: no clock of "
                         << GetParam().zone << " here";
#endif
    }

    // The instant clock of the history's zone, set before anything reads it.
    ScopedEnv zone{"TZ", GetParam().zone};
    NativePlatform native;
    Clock& clock = native.services().clock;
    tLogFiles logs{tLogStoreContext{dir.path(), prompter, recorder, &clock}};
    std::unique_ptr<tKnownMetRecord> file;
    tGraphRequest request;
    std::vector<dosDateTime> stamps;
};

// Constant rates draw constant on both axes, zoomed or not; the read-out runs
// on across the change. Of records two periods of T = 2 days old one is kept
// every 22 minutes, which in real time is every second save, whatever the
// wall clock did meanwhile (a clock that jumps changes which are kept).
TEST_P(RealHistoryTest, RatesReadOutAndCompressionFollowRealTime) {
    const std::tuple<tChartId, int, double> series[] = {{tChartId::requests, 1, 3600.0 / period},
                                                        {tChartId::requests, 2, 3600.0 / period},
                                                        {tChartId::transferred, 1, 1},
                                                        {tChartId::transferred, 4, 1},
                                                        {tChartId::transferred, 5, 7}};
    for (bool runtimeAxis : {false, true})
        for (int zoom : {1, 6}) {
            request.runtimeAxis = runtimeAxis;
            request.zoom = zoom;
            request.scroll = 25;
            tGraphResult r = computeGraphs(request);
            ASSERT_EQ(r.runtimeAxis, runtimeAxis);
            for (auto [chart, index, rate] : series) {
                const auto& points = r.at(chart, index).points;
                EXPECT_GE(points.size(), 10u) << runtimeAxis << zoom << index;
                long off = std::count_if(points.begin(), points.end(),
                                         [target = rate](const tGraphPoint& p) {
                                             return std::abs(p.y - target) > 1e-9 * target;
                                         });
                EXPECT_LE(off, runtimeAxis ? 0 : GetParam().offOnDates)
                    << "axis " << runtimeAxis << " zoom " << zoom << " series " << index;
            }
        }

    logs.connRunTimeLog()->loadValues();
    const tRuntimeMap map = runtimeMapOf(logs);
    const int before = GetParam().change - 4, after = GetParam().change + 10;
    auto runtimeAt = [&](int k) {
        return cursorToTime(static_cast<double>(dosDateTimeToCalendar(stamps[k])) / msPerDay, false,
                            map)
            .runtime;
    };
    EXPECT_EQ(runtimeAt(after) - runtimeAt(before), (after - before) * period);

    if (GetParam().offOnDates != 0)
        return;
    const std::int64_t now = GetParam().start + (saves - 1) * period + 4 * 86400;
    compressLogs(logs, 2, clock.toLocalCalendar(now * 1000));
    std::vector<std::uint8_t> bytes = read("preferences.ini-eMule,Queue.pln_on");
    std::vector<dosDateTime> kept, expected;
    for (std::size_t at = headerEnd; at + 8 <= bytes.size(); at += 8)
        kept.push_back(loadU32(bytes.data() + at));
    for (int k = saves % 2 == 0 ? 1 : 0; k < saves; k += 2)
        expected.push_back(stamps[static_cast<std::size_t>(k)]);
    EXPECT_EQ(kept, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Histories, RealHistoryTest,
    ::testing::Values(
        History{"OneReset", "UTC", utc(2024, 5, 1, 0), 60, {60}},
        History{"TwoResets", "UTC", utc(2024, 5, 1, 0), 90, {40, 90}},
        History{"FiveResets", "UTC", utc(2024, 5, 1, 0), 60, {20, 40, 60, 80, 100}},
        // 2023-11-05 06:00 UTC: 02:00 EDT becomes 01:00 EST.
        History{"AutumnNewYork", "America/New_York", utc(2023, 11, 5, 0), 33},
        // 2024-03-31 01:00 UTC: 02:00 CET becomes 03:00 CEST.
        History{"SpringBerlin", "Europe/Berlin", utc(2024, 3, 30, 15), 55},
        // 2024-03-10 07:00 UTC: 02:00 EST becomes 03:00 EDT.
        History{"SpringNewYork", "America/New_York", utc(2024, 3, 10, 0), 38},
        History{"ClockSetBack", "UTC", utc(2024, 5, 1, 0), 70, {}, 70, -900'000, 0, 2},
        // eMule stopped for 20 minutes: a non-counter counts as 0 there on the date axis.
        History{"EmuleStopped", "UTC", utc(2024, 5, 1, 0), 70, {}, 70, 1'200'000, 0, 3},
        History{"BeforeConnRunTime", "UTC", utc(2024, 5, 1, 0), 60, {}, -1, 0, 50}),
    [](const auto& row) { return std::string(row.param.name); });

// Stamps read a day at a time read as each alone, on and around the changes.
TEST(RealHistoryStamps, ReadAsEachAlone) {
    for (const char* name : {"Europe/Berlin", "America/New_York", "Australia/Lord_Howe"}) {
        ScopedEnv zone{"TZ", name};
        NativePlatform native;
        tLocalTimeZone days(&native.services().clock);
        auto pair = [](tLocalInstants i) { return std::pair(i.earlier, i.later); };
        for (int d : {309, 310, 330, 331, 406, 407, 1005, 1006, 1026, 1027, 1102, 1103})
            for (std::uint32_t t = dos(2024, d / 100, d % 100); t % 0x10000 < 0xFF00; t += 0x123)
                ASSERT_EQ(pair(days.instantsOf(t)), pair(tLocalTimeZone(&native.services().clock)
                                                             .instantsOf(dosDateTimeToCalendar(t))))
                    << name << ' ' << t;
    }
}

} // namespace
} // namespace pln::test
