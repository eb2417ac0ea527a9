#include "app/core/stats_logs_table.h"
#include "logstore/core/log_file.h"
#include "logstore/core/log_files.h"
#include "logstore/core/recorder_link.h"
#include "support/recording_prompter.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

struct StatsLogsTable : testing::Test {
    test::TempDir dir;
    test::RecordingPrompter prompter;
    tDetachedRecorderLink recorder;
    tLogFiles logs{{dir.path(), prompter, recorder}};
    tStatsLogsTable table;

    void ini(const std::string& name, tLogState state, std::uint8_t flags = 0,
             const std::string& units = "") {
        ASSERT_TRUE(logs.createLogFile(name, state, {valueTypeInteger, flags, 1.0, units}));
    }
    std::vector<std::string> column(tStatsLogsColumn c) const {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < table.count(); ++i)
            out.push_back(table.row(i).texts[static_cast<std::size_t>(c)]);
        return out;
    }
};

TEST_F(StatsLogsTable, ShowsEveryLogExceptKnownFileLogs) {
    ini("statistics.ini-statistics,ConnRunTime", tLogState::permanent, 1, "Hours / day");
    ini("statistics.ini-statistics,TotalUploadedBytes", tLogState::active);
    ini("preferences.ini-eMule,MaxUpload", tLogState::inactive, flagShowWithRequests);
    ini("statistics.ini-statistics,UpSuccessfulSessions", tLogState::active);
    ASSERT_TRUE(
        logs.createLogFile("Queued clients", tLogState::active, {valueTypeShort, 0, 1, ""}));
    ASSERT_TRUE(logs.createLogFile("virtual;Average per session", tLogState::inactive,
                                   {valueTypeReal, 0, 1, "kB"},
                                   {tLogOperation::quotient,
                                    {"statistics.ini-statistics,TotalUploadedBytes",
                                     "statistics.ini-statistics,UpSuccessfulSessions"}}));
    ASSERT_TRUE(logs.createLogFile("0123456789ABCDEF0123456789ABCDEF", tLogState::active,
                                   {valueTypeKnownFile, 0, 1, ""}));
    logs.scanLogs();
    table.fill(logs, rankIgnoringAsciiCase);

    // Permanent first, then active, then inactive; each by value name.
    EXPECT_EQ(
        column(tStatsLogsColumn::value),
        (std::vector<std::string>{"ConnRunTime", "Queued clients", "TotalUploadedBytes",
                                  "UpSuccessfulSessions", "Average per session", "MaxUpload"}));
    EXPECT_EQ(column(tStatsLogsColumn::log),
              (std::vector<std::string>{"Permanent", "Active", "Active", "Active", "Inactive",
                                        "Inactive"}));
    EXPECT_EQ(column(tStatsLogsColumn::fileName),
              (std::vector<std::string>{
                  "statistics.ini", "onlinesig.dat", "statistics.ini", "statistics.ini",
                  "TotalUploadedBytes / UpSuccessfulSessions", "preferences.ini"}));
    EXPECT_EQ(
        column(tStatsLogsColumn::section),
        (std::vector<std::string>{"statistics", "", "statistics", "statistics", "", "eMule"}));
    EXPECT_EQ(column(tStatsLogsColumn::graphic).back(), "Requests");
    EXPECT_EQ(table.row(0).texts[static_cast<std::size_t>(tStatsLogsColumn::units)], "Hours / day");
    EXPECT_TRUE(table.row(0).ticked());
    EXPECT_FALSE(table.row(5).ticked());

    table.sortOrder().columnClick(static_cast<int>(tStatsLogsColumn::log));
    table.sortByFirstPriority();
    EXPECT_EQ(column(tStatsLogsColumn::value).front(), "Average per session");
    EXPECT_EQ(column(tStatsLogsColumn::value).back(), "ConnRunTime");

    // A rescan replaces the logs: a row finds its log again by name, or none.
    logs.clearLogs();
    EXPECT_EQ(table.logAt(0), nullptr);
    table.refresh(0);
    EXPECT_EQ(table.row(0).state, tLogState::none);
    logs.scanLogs();
    EXPECT_EQ(table.logAt(0), logs.findLog("virtual;Average per session"));
}

TEST(CombineFormula, NamesTheSourcesInTheOperation) {
    EXPECT_EQ(combineFormula(tLogOperation::sum, "A", "B"), "A + B");
    EXPECT_EQ(combineFormula(tLogOperation::difference, "A", "B"), "A - B");
    EXPECT_EQ(combineFormula(tLogOperation::reverseDifference, "A", "B"), "B - A");
    EXPECT_EQ(combineFormula(tLogOperation::reverseQuotient, "A", "B"), "B / A");
    EXPECT_EQ(combineFormula(tLogOperation::firstShare, "A", "B"), "A / (A + B)");
    EXPECT_EQ(combineFormula(tLogOperation::secondShare, "A", "B"), "B / (A + B)");
    EXPECT_EQ(combineFormula(static_cast<tLogOperation>(9), "A", "B"), "B / (A + B)");
    EXPECT_EQ(combineFormula(tLogOperation::quotient, "x%2", "y%1"), "x%2 / y%1");
}

} // namespace
} // namespace pln
