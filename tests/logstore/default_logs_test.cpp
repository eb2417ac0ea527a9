#include "log_fixture.h"
#include "logstore/core/default_logs.h"
#include "logstore/core/log_files.h"
#include "support/error_text.h"

#include <filesystem>

namespace pln::test {
namespace {

using DefaultLogsTest = LogStoreTest;

TEST_F(DefaultLogsTest, FirstStartCreatesTheFiveLogs) {
    EXPECT_TRUE(createDefaultLogs(logs));
    EXPECT_EQ(recorder.newLogs, 1);
    EXPECT_EQ(read("statistics.ini-statistics,ConnRunTime.pln"),
              LogBytes().prefix(1).header(3, 1, 24.0, "Hours / day").bytes());
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
    write("statistics.ini-statistics,ConnRunTime.pln", LogBytes().prefix(1).header(3, 1, 24, ""));
    EXPECT_FALSE(createDefaultLogs(logs));
    EXPECT_EQ(recorder.newLogs, 0);
    EXPECT_FALSE(fs::exists(dir.file("preferences.ini-eMule,MaxUpload.pln_on")));

    fs::remove(dir.file("statistics.ini-statistics,ConnRunTime.pln"));
    write("statistics.ini-statistics,ConnRunTime.pln_on", LogBytes().prefix(1).header(3, 0, 1, ""));
    auto inactive = LogBytes().prefix(1).header(3, 2, 1.0, "mine").int32Record(1, 5);
    write("preferences.ini-eMule,MaxUpload.pln_off", inactive);
    EXPECT_TRUE(createDefaultLogs(logs)) << "a ConnRunTime log that is merely active counts not";
    EXPECT_TRUE(fs::exists(dir.file("statistics.ini-statistics,ConnRunTime.pln")));
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

} // namespace
} // namespace pln::test
