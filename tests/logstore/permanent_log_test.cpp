#include "log_fixture.h"
#include "logstore/core/conn_run_time.h"
#include "logstore/core/default_logs.h"
#include "logstore/core/log_files.h"
#include "support/error_text.h"

#include <filesystem>

namespace pln::test {
namespace {

const std::string fileName = "statistics.ini-statistics,ConnRunTime.pln";
using DefaultLogsTest = LogStoreTest;

TEST_F(DefaultLogsTest, FirstStartCreatesTheFiveLogs) {
    EXPECT_TRUE(createDefaultLogs(logs));
    EXPECT_EQ(recorder.newLogs, 1);
    EXPECT_EQ(read(fileName), LogBytes().prefix(1).header(3, 1, 24.0, "Hours / day").bytes());
    EXPECT_EQ(read("statistics.ini-statistics,TotalUploadedBytes.pln_on"),
              LogBytes().prefix(1).header(4, 1, 0.0009765625, "kBytes / sec").bytes());
    EXPECT_EQ(logs.count(), 0u) << "the files enter the catalogue at the next scan";
    logs.scanLogs();
    EXPECT_EQ(logs.count(), 5u);
    ASSERT_NE(logs.connRunTimeLog(), nullptr);
    EXPECT_EQ(logs.connRunTimeLog()->state(), tLogState::permanent);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(DefaultLogsTest, OnlyTheMissingPermanentLogMakesAFirstStartAndExistingLogsStay) {
    namespace fs = std::filesystem;
    write(fileName, LogBytes().prefix(1).header(3, 1, 24, ""));
    EXPECT_FALSE(createDefaultLogs(logs));
    EXPECT_EQ(recorder.newLogs, 0);
    EXPECT_FALSE(fs::exists(dir.file("preferences.ini-eMule,MaxUpload.pln_on")));

    fs::remove(dir.file(fileName));
    write("statistics.ini-statistics,ConnRunTime.pln_on", LogBytes().prefix(1).header(3, 0, 1, ""));
    auto inactive = LogBytes().prefix(1).header(3, 2, 1.0, "mine").int32Record(1, 5);
    write("preferences.ini-eMule,MaxUpload.pln_off", inactive);
    EXPECT_TRUE(createDefaultLogs(logs)) << "a ConnRunTime log that is merely active counts not";
    EXPECT_TRUE(fs::exists(dir.file(fileName)));
    EXPECT_EQ(recorder.newLogs, 1);
    EXPECT_EQ(read("preferences.ini-eMule,MaxUpload.pln_off"), inactive.bytes());
    EXPECT_FALSE(fs::exists(dir.file("preferences.ini-eMule,MaxUpload.pln_on")));
    EXPECT_TRUE(fs::exists(dir.file("preferences.ini-eMule,USSEnabled.pln_on")));
}

TEST_F(DefaultLogsTest, NothingCreatedNothingAnnounced) {
    tLogFiles nowhere(tLogStoreContext{dir.file("missing/"), prompter, recorder});
    EXPECT_FALSE(createDefaultLogs(nowhere));
    EXPECT_EQ(recorder.newLogs, 0);
    EXPECT_EQ(prompter.errors().size(), 5u);
    EXPECT_EQ(prompter.errors().front(),
              "Cannot create the \"statistics.ini-statistics,ConnRunTime\" log file: " +
                  test::missingFolderText());
}

LogBytes connRunTimeLog(std::initializer_list<std::int32_t> values) {
    LogBytes bytes = LogBytes().prefix(1).header(3, 1, 24, "Hours / day");
    int day = 1;
    for (std::int32_t v : values)
        bytes.int32Record(dos(2024, 1, day++), v);
    return bytes;
}

std::vector<std::int32_t> valuesOf(const tLogRecords& records) {
    std::vector<std::int32_t> out;
    for (std::size_t i = 0; i < records.count(); ++i)
        out.push_back(static_cast<std::int32_t>(records.value(i)));
    return out;
}

std::vector<std::int32_t> corrected(std::initializer_list<std::int32_t> values) {
    auto bytes = LogBytes();
    for (std::int32_t v : values)
        bytes.int32Record(0, v);
    auto records = bytes.bytes();
    correctConnRunTime(records);
    return valuesOf(tLogRecords(records, 3));
}

TEST(ConnRunTimeCorrection, MendsEveryDropInOnePass) {
    EXPECT_EQ(corrected({10, 20, 5, 15}), (std::vector<std::int32_t>{10, 20, 25, 35}));
    EXPECT_EQ(corrected({10, 5, 20, 3}), (std::vector<std::int32_t>{10, 15, 30, 33}));
    EXPECT_EQ(corrected({5, 0, 5, 0, 5, 0, 5}),
              (std::vector<std::int32_t>{5, 5, 10, 10, 15, 15, 20}));
    EXPECT_EQ(corrected({10, 10, 20}), (std::vector<std::int32_t>{10, 10, 20}));
    EXPECT_EQ(corrected({7}), (std::vector<std::int32_t>{7}));
    EXPECT_EQ(corrected({-1, -5}), (std::vector<std::int32_t>{-1, -6})) << "signed comparison";
}

// Only the catalogue's log is corrected: in memory at a load, on disk once
// the recorder has paused for it.
TEST_F(LogStoreTest, ConnRunTimeIsCorrectedWhenLoadedAndWrittenBackInThePause) {
    write(fileName, connRunTimeLog({10, 20, 5, 15}));
    tLogFile outside(context, "statistics.ini-statistics,ConnRunTime");
    outside.loadValues();
    EXPECT_EQ(valuesOf(outside.values()), (std::vector<std::int32_t>{10, 20, 5, 15}));
    EXPECT_FALSE(writeBackConnRunTime(logs)) << "no ConnRunTime log catalogued";

    logs.scanLogs();
    tLogFile* log = logs.connRunTimeLog();
    ASSERT_NE(log, nullptr);
    log->loadValues();
    EXPECT_TRUE(recorder.suspended.empty()) << "a load only reads";
    requestConnRunTimeWriteBack(logs);
    EXPECT_EQ(valuesOf(log->values()), (std::vector<std::int32_t>{10, 20, 25, 35}));
    EXPECT_EQ(recorder.suspended, std::vector<int>{connRunTimeFixTask});
    EXPECT_EQ(read(fileName), connRunTimeLog({10, 20, 5, 15}).bytes())
        << "nothing is written before the recorder has paused";
    log->freeValues();

    EXPECT_TRUE(writeBackConnRunTime(logs));
    EXPECT_EQ(read(fileName), connRunTimeLog({10, 20, 25, 35}).bytes());
    EXPECT_FALSE(writeBackConnRunTime(logs)) << "nothing left to mend";
    EXPECT_EQ(recorder.suspended.size(), 1u) << "the write-back asks for no second pause";

    log->loadValues();
    requestConnRunTimeWriteBack(logs);
    EXPECT_EQ(recorder.suspended.size(), 1u);
    EXPECT_TRUE(prompter.shown.empty());
}

} // namespace
} // namespace pln::test
