#include "graph_fixture.h"

namespace pln::test {
namespace {

using ::testing::DoubleNear, ::testing::Field;

auto point(double x, double y) {
    return AllOf(Field(&tGraphPoint::x, DoubleNear(x, 1e-9)),
                 Field(&tGraphPoint::y, DoubleNear(y, 1e-9)));
}

// The value drawn in each of the three intervals of four records 660 s
// apart, none where no point is; every point lies at the start of one.
std::vector<double> values(const tGraphResult& r, tChartId chart, int index) {
    std::vector<double> out(3, missingValue());
    for (const tGraphPoint& p : r.at(chart, index).points) {
        const double slot = (p.x - dayAt(0)) * 86400 / 660;
        EXPECT_NEAR(slot, std::round(slot), 1e-7) << "a point off the record times";
        double& value = out.at(static_cast<std::size_t>(std::lround(slot)));
        EXPECT_TRUE(std::isnan(value)) << "one point per interval";
        value = p.y;
    }
    return out;
}
auto valuesAre(const std::vector<double>& expected) {
    return ::testing::Pointwise(::testing::NanSensitiveDoubleEq(), expected);
}

std::string legendText(const std::vector<tLegendPiece>& pieces) {
    std::string text;
    for (const tLegendPiece& p : pieces)
        text += p.text;
    return text;
}

using ComputeGraphsTest = GraphTest;

TEST_F(ComputeGraphsTest, KnownFileRatesMarkersAndFallbacks) {
    // Four records 660 s apart: three points, one per record interval. The
    // requests drop to 10 in the last interval, the transfers in the second;
    // transfers beyond what running totals hold exactly are summed step by step.
    const std::uint64_t huge = std::uint64_t{1} << 60;
    knownLog(1, {{0, 0, 0, 0},
                 {660, 11, 1, huge + 660 * 1024},
                 {1320, 33, 2, 100 * 1024},
                 {1980, 10, 3, 760 * 1024}});
    scan();
    request.selectedKnownFiles = {knownFile(1, "")};
    // Event markers: those of drawn files and without a file, in the range.
    tEventsLog events(dir.file("events.log"));
    events.add({graphBase + 100'000, "free"});
    events.add({graphBase + 200'000, tEvent::makePart("mine", hashOf(1))});
    events.add({graphBase + 300'000, tEvent::makePart("other", hashOf(2))});
    events.add({graphBase + 1'400'000, "after the last sample"});
    events.add({graphBase - 2'000, "before"});
    request.events = &events;
    tGraphResult r = draw();
    for (tChartId chart : {tChartId::requests, tChartId::transferred})
        EXPECT_THAT(r.at(chart, 0).points, ElementsAre(point(dayAt(100), 1), point(dayAt(200), 1)));
    const double perHour = 3600.0 / 660;
    EXPECT_THAT(values(r, tChartId::requests, 1), valuesAre({60, 120, 10 * perHour}));
    EXPECT_THAT(values(r, tChartId::requests, 2), valuesAre({perHour, perHour, perHour}));
    EXPECT_THAT(values(r, tChartId::transferred, 1),
                valuesAre({(huge / 1024.0 + 660) / 660, 100.0 / 660, 1}));
    EXPECT_EQ(std::tuple(r.bottomMin, r.bottomMax, r.zoomBarMaximum),
              std::tuple(dayAt(0), dayAt(1320), std::optional(1)));
    // A file without a name still gets its quoted legend line.
    EXPECT_EQ(legendText(r.requestsLegend), "\"\" (Requests / hour; Accepted requests / hour)\r\n");
    EXPECT_EQ(r.requestsLegend[1].colour, request.colours.requestsColours()[1]);
    EXPECT_EQ(legendText(r.transfersLegend), "\"\" (Uploaded in kBytes/sec)\r\n");

    // Without ConnRunTime the date axis is used.
    request.runtimeAxis = true;
    r = draw();
    EXPECT_FALSE(r.runtimeAxis);
    EXPECT_TRUE(r.runtimeAxisUnavailable);
    EXPECT_EQ(r.at(tChartId::requests, 1).points.front().x, dayAt(0));
    // Nothing to draw: empty charts and a zero range.
    request.knownMetLoaded = false;
    EXPECT_TRUE(draw().drawnKnownFiles.empty());
    request.selectedKnownFiles.clear();
    r = draw();
    EXPECT_EQ(std::tuple(r.bottomMin, r.bottomMax, r.zoomBarMaximum),
              std::tuple(0.0, 0.0, std::optional<int>()));
    EXPECT_TRUE(r.requestsLegend.empty());
}

TEST_F(ComputeGraphsTest, SelectionLimitsAndMinimumRecords) {
    for (int n = 1; n <= 8; ++n)
        knownLog(n, {{0, 0, 0, 0}, {660, 1, 1, 1}, {1320, 2, 2, 2}, {1980, 3, 3, 3}});
    knownLog(9, {{0, 0, 0, 0}, {660, 1, 1, 1}, {1320, 2, 2, 2}});
    for (int k = 1; k <= 7; ++k)
        statLog("Req" + std::to_string(k), flagShowWithRequests, {1, 2, 3, 4});
    statLog("Other", 0, {1, 2, 3, 4});
    scan();
    request.referenceFile1 = knownFile(1);
    request.referenceFile2 = knownFile(2);
    request.selectedKnownFiles = {knownFile(9), knownFile(2), knownFile(3), knownFile(4),
                                  knownFile(5)};
    for (int k = 1; k <= 7; ++k)
        request.selectedStatLogs.push_back(stat("Req" + std::to_string(k)));
    request.selectedStatLogs.push_back(stat("Other"));
    tGraphResult r = draw();

    std::vector<std::string> drawn;
    for (const tDrawnKnownFile& f : r.drawnKnownFiles)
        drawn.push_back(f.hash);
    // The 3-record log of file 9 is passed over; reference files come first.
    EXPECT_THAT(drawn, ElementsAre(hashOf(1), hashOf(2), hashOf(3)));
    ASSERT_EQ(r.drawnStatLogs.size(), 7u);
    EXPECT_EQ(r.drawnStatLogs[5].name, "statistics.ini-statistics,Req6");
    EXPECT_EQ(r.drawnStatLogs[6].name, "statistics.ini-statistics,Other");
    EXPECT_EQ(r.drawnStatLogs[6].colour, request.colours.slotColours[4]);
    EXPECT_EQ(r.at(tChartId::requests, 12).points.size(), 3u);
    EXPECT_EQ(r.at(tChartId::transferred, 4).points.size(), 3u);
    EXPECT_EQ(r.transfersLegend.back().text, "Other (units)\r\n");
    const tDrawnColours colours = drawnColours(r);
    EXPECT_FALSE(colours.logColour(stat("Req7")->name()));
    EXPECT_EQ(colours.logColour(stat("Req1")->name()), request.colours.requestsColours()[7]);
    EXPECT_EQ(colours.fileColour(hashOf(2)), r.drawnKnownFiles[1].colour);
    for (const auto& log : logs.logs())
        EXPECT_EQ(log->recordsSize(), -1) << log->name();
}

constexpr std::uint8_t counter = flagCumulative;
constexpr double big = 5e18; // two of them overflow a 64-bit integer
constexpr std::uint8_t i8 = valueTypeByte, i16 = valueTypeShort, i32 = valueTypeInteger,
                       i64 = valueTypeLong, f64 = valueTypeReal;

TEST_F(ComputeGraphsTest, EachBucketIsARateOrAnAverageTimesTheMultiplier) {
    const struct {
        const char* name;
        std::uint8_t valueType, flags;
        double multiplier;
        std::vector<double> values, expected;
    } rows[] = {
        // A counter that drops starts again from 0; one that drops below 0 has no rate.
        {"ByteCounterReset", i8, counter, 2, {0, 66, 10, 76}, {0.2, 20.0 / 660, 0.2}},
        {"ShortCounterReset", i16, counter, 0.5, {-6600, 0, 6600, 660}, {5, 5, 0.5}},
        {"IntegerCounterGoesNegative", i32, counter, 1, {5, 665, -3, 657}, {1, 0, 1}},
        {"LongCounter", i64, counter, 1024, {5e9, 5e9 + 660, 5e9 + 1980, 660}, {1024, 2048, 1024}},
        // Steps beyond what a double sums exactly are added one by one.
        {"HugeSteps", i64, counter, 1, {0, 1e16, 2e16, 2e16 + 660}, {1e16 / 660, 1e16 / 660, 1}},
        {"RealCounterReset", f64, counter, 1, {0.25, 330.25, 0.5, 66.5}, {0.5, 0.5 / 660, 0.1}},
        // Signed values read back in their own width.
        {"ByteAverage", i8, 0, 3, {-128, 20, -30, 127}, {-162, -15, 145.5}},
        {"ShortAverage", i16, 0, 1, {-32768, 32767, 1, 3}, {-0.5, 16384, 2}},
        {"LongAverageOverflowsItsSum", i64, 0, 0.5, {big, big, -big, -big}, {big / 2, 0, -big / 2}},
        {"RealAverage", f64, 0, -2, {1.25, 2.5, -0.125, 1e300}, {-3.75, -2.375, -1e300}}};
    for (const auto& row : rows) {
        typedLog(row.name, row.valueType, row.flags, row.multiplier, row.values);
        scan();
        request.selectedStatLogs = {stat(row.name)};
        EXPECT_THAT(values(draw(), tChartId::transferred, 4), valuesAre(row.expected)) << row.name;
    }
}

// The first source holds 500 throughout; the second one varies. Where a
// row says so, ConnRunTime has eMule run 40 % of the second bucket: those
// rows come last, since the log stays for the rows after them.
TEST_F(ComputeGraphsTest, CombinedLogsApplyTheirOperationMultiplierAndMaximum) {
    const double none = missingValue();
    const std::vector<double> steps = {2, 0, 0, 8}, level = {2, 4, 4, 8};
    using enum tLogOperation;
    const struct {
        const char* name;
        tLogOperation operation;
        double multiplier, maxValue;
        std::vector<double> second;
        bool dormant;
        std::uint8_t firstFlags;
        std::vector<double> expected; // none: no point
    } rows[] = {
        // 500 / 1 capped at 100; 500 / 0 left out; 500 / 4 = 125 capped.
        {"QuotientCapped", quotient, 1, 100, steps, false, 0, {100, none, 100}},
        {"Sum", sum, 1, none, steps, false, 0, {501, 500, 504}},
        {"SecondShare", secondShare, 100, none, steps, false, 0, {100. / 501, 0, 400. / 504}},
        {"FirstShare", firstShare, 100, none, steps, false, 0, {50000. / 501, 100, 50000. / 504}},
        {"ReverseDifference", reverseDifference, 1, none, steps, false, 0, {-499, -500, -496}},
        // The maximum applies to the value times the log's own multiplier.
        {"Difference", difference, 2, 998, steps, false, 0, {998, 998, 992}},
        {"ReverseQuotient", reverseQuotient, 1, none, {2, 4, 0, 8}, false, 0, {.006, .004, .008}},
        // A dormant first source makes the whole value 0; one saved when
        // changed only leaves the second source's own rule.
        {"Dormant", sum, 1, none, level, true, 0, {503, 0, 506}},
        {"SavedWhenChanged", sum, 1, none, level, true, flagSavedWhenChanged, {503, 500, 506}}};
    for (const auto& row : rows) {
        const std::string first = std::string(row.name) + "A", second = std::string(row.name) + "B";
        if (row.dormant)
            connRunTime({1000, 1660, 1924, 2584});
        statLog(first, row.firstFlags, {500, 500, 500, 500});
        statLog(second, 0, row.second);
        combinedLog(row.name, static_cast<std::uint8_t>(row.operation), first, second, row.maxValue,
                    0, row.multiplier);
        scan();
        request.selectedStatLogs = {stat("virtual;" + std::string(row.name))};
        tGraphResult r = draw();
        EXPECT_THAT(values(r, tChartId::transferred, 4), valuesAre(row.expected)) << row.name;
        EXPECT_EQ(legendText(r.transfersLegend), std::string(row.name) + " (ratio)\r\n");
    }
}

} // namespace
} // namespace pln::test
