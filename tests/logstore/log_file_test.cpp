#include "log_fixture.h"
#include "logstore/core/instants_cache.h"
#include "logstore/core/log_file.h"
#include "platform/locked_file.h"

#include <cmath>
#include <filesystem>

namespace pln::test {
namespace {

const std::string statsName = "statistics.ini-statistics,TotalUploadedBytes";
const std::string inUse =
    "The process cannot access the file because it is being used by another process";

class LogFileTest : public LogStoreTest {
protected:
    LogBytes statsLog() { return LogBytes().prefix(1).header(4, 1, 0.5, "kB"); }
    LogBytes combined(std::string_view first, std::string_view second) {
        return LogBytes().prefix(3).header(5, 4, 2.0, "ratio").sources(3, first, second);
    }
};

// Whole records are read, a trailing part is not, and nothing stays loaded
// once freed; a log without a file reports why it has no records.
TEST_F(LogFileTest, LoadsWholeRecordsAndReportsAMissingFile) {
    write(std::string(hashName) + ".pln_on", LogBytes()
                                                 .prefix(0)
                                                 .knownFileRecord(dos(2024, 1, 1), 1, 2, 3)
                                                 .knownFileRecord(dos(2024, 1, 2), 4, 5, 1ULL << 40)
                                                 .raw("partial"));
    tLogFile log(context, std::string(hashName));
    EXPECT_EQ(log.recordsSize(), -1) << "the properties only are read at first";
    log.loadValues();
    EXPECT_EQ(log.recordsSize(), 47);
    ASSERT_EQ(log.recordCount(), 2);
    tLogRecords records = log.values();
    EXPECT_EQ(records.stamp(1), dos(2024, 1, 2));
    EXPECT_EQ(records.knownFileValues(1).requests, 4u);
    EXPECT_EQ(records.knownFileValues(1).accepted, 5u);
    EXPECT_EQ(records.knownFileValues(1).transferred, 1ULL << 40);
    log.freeValues();
    EXPECT_EQ(log.recordsSize(), -1);
    EXPECT_TRUE(log.records().empty());

    write(statsName + ".pln", statsLog());
    tLogFile empty(context, statsName);
    empty.loadValues();
    EXPECT_EQ(empty.recordsSize(), 0) << "loaded, with no records";
    EXPECT_TRUE(prompter.shown.empty());

    tLogFile missing(context, "nothing.ini-a,b");
    EXPECT_EQ(missing.state(), tLogState::none);
    EXPECT_TRUE(prompter.shown.empty()) << "no file is no error until it is loaded";
    missing.loadValues();
    EXPECT_EQ(missing.recordsSize(), -1);
    EXPECT_EQ(prompter.errors(), std::vector<std::string>{"Cannot load the \"nothing.ini-a,b\" "
                                                          "log file: No such file or directory"});
}

TEST_F(LogFileTest, MalformedFilesAreReportedAndLeftUnchanged) {
    struct Case {
        std::string fileName;
        LogBytes bytes;
    };
    std::vector<Case> cases = {
        {std::string(hashName) + ".pln_on", LogBytes().prefix(1)},
        {"a.ini-s,format.pln_on", LogBytes().prefix(1, "PLN", 1).header(3, 0, 1, "")},
        {"a.ini-s,magic.pln_on", LogBytes().prefix(1, "PNL").header(3, 0, 1, "")},
        {"a.ini-s,empty.pln_on", LogBytes()},
        {"a.ini-s,short.pln_on", LogBytes().raw("PLN")},
        {"a.ini-s,header.pln_on", LogBytes().prefix(1).u8(3).u8(0).f64(1)},
        {"virtual;cut.pln_on", LogBytes().prefix(3).header(5, 0, 1, "").u8(0).sourceName("x")},
        {"virtual;nested.pln_on", combined("virtual;inner", "a.ini-s,x")},
        {"virtual;self.pln_on", combined("virtual;self", "virtual;self")},
        {"virtual;outside.pln_on", combined("a.ini-s,x", "../../x.ini-s,k")},
        {"virtual;up.pln_on", combined("..", "a.ini-s,x")},
        {"virtual;known.pln_on", combined(hashName, "a.ini-s,x")},
        {"virtual;operation.pln_on",
         LogBytes().prefix(3).header(5, 0, 1, "").sources(7, "a.ini-s,x", "a.ini-s,y")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        write(c.fileName, c.bytes);
        prompter.shown.clear();
        std::string name = c.fileName.substr(0, c.fileName.size() - 7);
        tLogFile log(context, name);
        EXPECT_EQ(log.valueType(), 0);
        EXPECT_EQ(prompter.errors(),
                  std::vector<std::string>{"Invalid log file: \"" + c.fileName + "\""});
        prompter.shown.clear();
        log.loadValues();
        EXPECT_EQ(log.recordCount(), 0);
        EXPECT_EQ(prompter.errors(),
                  std::vector<std::string>{"Invalid log file: \"" + c.fileName + "\""});
        EXPECT_EQ(read(c.fileName), c.bytes.bytes());
    }
}

TEST_F(LogFileTest, FilesHeldByAWriterFailInsteadOfBlocking) {
    std::string path = write(statsName + ".pln_on", statsLog().int64Record(dos(2024, 1, 1), 1));
    tLogFile log(context, statsName);
    {
        LockedFile writer(path, LockedFile::Access::ReadWrite);
        tLogFile blocked(context, statsName);
        EXPECT_EQ(blocked.valueType(), 0);
        log.loadValues();
        EXPECT_EQ(log.recordsSize(), -1);
        EXPECT_FALSE(log.updateProperties(0, "x", 1, tLogOperation::sum, missingValue()));
        EXPECT_FALSE(log.replaceValues({}));
    }
    EXPECT_EQ(prompter.errors(),
              (std::vector<std::string>{
                  "Cannot create log object from the file \"" + statsName + "\": " + inUse,
                  "Cannot load the \"" + statsName + "\" log file: " + inUse,
                  "Cannot save the \"" + statsName + "\" log file: " + inUse,
                  "Cannot save the \"" + statsName + "\" log file: " + inUse}));
    EXPECT_EQ(read(statsName + ".pln_on"), statsLog().int64Record(dos(2024, 1, 1), 1).bytes());
    {
        LockedFile reader(path, LockedFile::Access::Read);
        log.loadValues();
        EXPECT_EQ(log.recordCount(), 1) << "readers share the file";
    }
}

// A log loaded again takes the records read and the instants worked out
// before, until its file is appended to or replaced; a replacement keeps the
// header and cuts whatever followed the records.
TEST_F(LogFileTest, KeptInstantsLastUntilTheFileChanges) {
    tInstantsCache cache;
    context.instants = &cache;
    LogBytes twoDays = statsLog().int64Record(dos(2024, 1, 1), 1).int64Record(dos(2024, 1, 2), 2);
    write(statsName + ".pln", twoDays);
    tLogFile log(context, statsName);
    log.loadValues();
    tLogFile again(context, statsName);
    again.loadValues();
    EXPECT_EQ(again.values().instants().data(), log.values().instants().data());
    EXPECT_EQ(again.records().data(), log.records().data());

    write(statsName + ".pln", twoDays.int64Record(dos(2024, 1, 4), 3).raw("xy"));
    log.loadValues();
    ASSERT_EQ(log.values().instants().size(), 3u);
    EXPECT_EQ(log.values().instant(2) - log.values().instant(1), 2 * 86400);

    auto sixHours = LogBytes().int64Record(dos(2024, 1, 1), 1).int64Record(dos(2024, 1, 1, 6), 2);
    ASSERT_TRUE(log.replaceValues(sixHours.bytes()));
    EXPECT_EQ(
        read(statsName + ".pln"),
        statsLog().int64Record(dos(2024, 1, 1), 1).int64Record(dos(2024, 1, 1, 6), 2).bytes());
    log.loadValues();
    EXPECT_EQ(log.values().instant(1) - log.values().instant(0), 6 * 3600);
    EXPECT_TRUE(log.replaceValues({}));
    EXPECT_EQ(read(statsName + ".pln"), statsLog().bytes());
    EXPECT_TRUE(prompter.shown.empty());
}

// New properties rewrite the header in place and keep the value type and the
// records; a known-file log has no header to change. A combined log saved
// without a maximum grows to take one, and a rename keeps its extension but
// not a name another file has.
TEST_F(LogFileTest, PropertiesAndNamesAreRewrittenInPlace) {
    write(statsName + ".pln_on", statsLog().int64Record(dos(2024, 1, 1), 1));
    tLogFile log(context, statsName);
    EXPECT_TRUE(log.updateProperties(5, std::string(63, 'u'), 0.25, tLogOperation::quotient, 7));
    EXPECT_EQ(read(statsName + ".pln_on"), LogBytes()
                                               .prefix(1)
                                               .header(4, 5, 0.25, std::string(62, 'u'))
                                               .int64Record(dos(2024, 1, 1), 1)
                                               .bytes());
    EXPECT_EQ(log.units(), std::string(62, 'u'));
    write(std::string(hashName) + ".pln_on", LogBytes().prefix(0));
    tLogFile known(context, std::string(hashName));
    EXPECT_TRUE(known.updateProperties(5, "x", 2, tLogOperation::sum, 1));
    EXPECT_EQ(read(std::string(hashName) + ".pln_on"), LogBytes().prefix(0).bytes());

    write("virtual;ratio.pln_off", combined("a.ini-s,x", "a.ini-s,y"));
    ASSERT_EQ(read("virtual;ratio.pln_off").size(), 592u);
    tLogFile ratio(context, "virtual;ratio");
    EXPECT_TRUE(std::isnan(ratio.maxValue())) << "a block ending after the names";
    EXPECT_TRUE(ratio.updateProperties(0, "%", 100, tLogOperation::secondShare, 50));
    EXPECT_TRUE(ratio.renameVirtual("virtual;share"));
    EXPECT_EQ(read("virtual;share.pln_off"), LogBytes()
                                                 .prefix(3)
                                                 .header(5, 0, 100, "%")
                                                 .sources(6, "a.ini-s,x", "a.ini-s,y")
                                                 .f64(50)
                                                 .bytes());
    EXPECT_FALSE(std::filesystem::exists(dir.file("virtual;ratio.pln_off")));
    write("virtual;taken.pln_on", combined("x.ini-s,a", "x.ini-s,b").f64(1));
    EXPECT_FALSE(ratio.renameVirtual("virtual;taken"));
    EXPECT_EQ(ratio.name(), "virtual;share");
    EXPECT_EQ(prompter.errors(), std::vector<std::string>{"Cannot save the \"virtual;share\" log "
                                                          "file: Another log file has that name"});
}

TEST_F(LogFileTest, CombinedLogLoadsItsStatsSourcesOnly) {
    write("a.ini-s,x.pln_on",
          LogBytes().prefix(1).header(3, 0, 1, "").int32Record(dos(2024, 1, 1), 5));
    write("virtual;ok.pln_on", combined("a.ini-s,x", "Queued clients"));

    tLogFile ok(context, "virtual;ok");
    ok.loadValues();
    EXPECT_EQ(ok.recordsSize(), -1) << "a combined log has no records of its own";
    ASSERT_NE(ok.source(0), nullptr);
    EXPECT_EQ(ok.source(0)->recordCount(), 1);
    EXPECT_EQ(ok.source(1)->recordsSize(), -1);
    EXPECT_EQ(prompter.errors(),
              std::vector<std::string>{
                  "Cannot load the \"Queued clients\" log file: No such file or directory"});

    ok.freeValues();
    EXPECT_EQ(ok.source(0), nullptr);
}

} // namespace
} // namespace pln::test
