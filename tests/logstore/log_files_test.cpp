#include "log_fixture.h"
#include "logstore/core/conn_run_time.h"
#include "logstore/core/default_logs.h"

namespace pln::test {
namespace {

const auto stats = [] { return LogBytes::stats(3, 1); };
std::vector<std::string> namesOf(const tLogFiles& logs) {
    std::vector<std::string> out;
    for (const auto& log : logs.logs())
        out.push_back(log->name());
    return out;
}

// Each file is refused when its object is made and again when it is loaded,
// and is left as it was.
TEST_F(LogStoreTest, MalformedFilesAreReportedAndLeftUnchanged) {
    const std::pair<std::string, LogBytes> cases[] = {
        {hash + ".pln_on", LogBytes().prefix(1)},
        {"a.ini-s,format.pln_on", LogBytes().prefix(1, "PLN", 1).header(3, 0, 1, "")},
        {"a.ini-s,magic.pln_on", LogBytes().prefix(1, "PNL").header(3, 0, 1, "")},
        {"a.ini-s,empty.pln_on", LogBytes()},
        {"a.ini-s,short.pln_on", LogBytes().raw("PLN")},
        {"a.ini-s,header.pln_on", LogBytes().prefix(1).u8(3).u8(0).f64(1)},
        {"virtual;cut.pln_on", LogBytes().prefix(3).header(5, 0, 1, "").u8(0).sourceName("x")},
        {"virtual;nested.pln_on", LogBytes::combined(3, "virtual;inner", "a.ini-s,x")},
        {"virtual;self.pln_on", LogBytes::combined(3, "virtual;self", "virtual;self")},
        {"virtual;outside.pln_on", LogBytes::combined(3, "a.ini-s,x", "../../x.ini-s,k")},
        {"virtual;up.pln_on", LogBytes::combined(3, "..", "a.ini-s,x")},
        {"virtual;known.pln_on", LogBytes::combined(3, hashName, "a.ini-s,x")},
        {"virtual;operation.pln_on", LogBytes::combined(7, "a.ini-s,x", "a.ini-s,y")},
    };
    for (const auto& [fileName, bytes] : cases) {
        write(fileName, bytes);
        const std::vector<std::string> invalid{"Invalid log file: \"" + fileName + "\""};
        tLogFile log(context, fileName.substr(0, fileName.size() - 7));
        EXPECT_EQ(log.valueType(), 0) << fileName;
        EXPECT_EQ(errors(), invalid);
        log.loadValues();
        EXPECT_EQ(log.recordCount(), 0) << fileName;
        EXPECT_EQ(errors(), invalid);
        EXPECT_EQ(read(fileName), bytes.bytes());
    }
}

TEST_F(LogStoreTest, ScanCataloguesLogFilesSortedWithoutRegardToCase) {
    write("b.ini-s,k.pln_on", stats());
    write("A.ini-s,k.pln_off", stats());
    write("Queued clients.pln", LogBytes().prefix(2).header(3, 0, 1, ""));
    for (const char* name : {"abc.PLN_ON", "notes.txt", ".hidden.pln_on", "broken.ini-s,k.pln_on"})
        write(name, LogBytes::known());
    dir.mkdir("a.pln");
    logs.scanLogs();
    EXPECT_EQ(namesOf(logs),
              (std::vector<std::string>{"A.ini-s,k", "abc", "b.ini-s,k", "Queued clients"}));
    EXPECT_EQ(logs.getLogState("ABC"), tLogState::active);
    EXPECT_EQ(logs.getLogState("a.INI-s,k"), tLogState::inactive);
    EXPECT_EQ(logs.getLogState("queued clients"), tLogState::permanent);
    EXPECT_EQ(logs.getLogState("a"), tLogState::none);
    EXPECT_EQ(&logs.getLog(1), logs.findLog("Abc"));
    EXPECT_EQ(errors(), std::vector<std::string>{"Invalid log file: \"broken.ini-s,k.pln_on\""});
    EXPECT_EQ(logs.connRunTimeLog(), nullptr);

    logs.clearLogs();
    EXPECT_EQ(logs.count(), 0u);
}

TEST_F(LogStoreTest,
       DuplicateFilesGiveOneEntryAndOneMessagePerExtraFileAndThePermanentConnRunTime) {
    for (const char* name : {"x.pln_off", "X.pln_on", "y.pln_off", "y.pln_on", "y.pln"})
        write(name, LogBytes::known());
    write("statistics.ini-statistics,ConnRunTime.pln_on", stats());
    write("statistics.ini-statistics,connruntime.pln", stats());
    logs.scanLogs();
    ASSERT_EQ(logs.count(), 3u);
    EXPECT_EQ(logs.getLogState("x"), tLogState::active);
    EXPECT_EQ(logs.findLog("x")->fileName(), "X.pln_on");
    EXPECT_EQ(logs.getLogState("y"), tLogState::permanent);
    ASSERT_NE(logs.connRunTimeLog(), nullptr);
    EXPECT_TRUE(logs.connRunTimeLog()->isConnRunTimeLog());
    EXPECT_EQ(logs.connRunTimeLog()->fileName(), "statistics.ini-statistics,connruntime.pln")
        << "the permanent one wins, whatever its case";
    EXPECT_EQ(errors(),
              (std::vector<std::string>{"Duplicate log files: \"statistics.ini-statistics,"
                                        "ConnRunTime\" (*.pln used)",
                                        "Duplicate log files: \"X\" (*.pln_on used)",
                                        "Duplicate log files: \"y\" (*.pln used)",
                                        "Duplicate log files: \"y\" (*.pln used)"}));
}

// A state is switched by renaming the file, records and all, whatever the
// case of the name or of the extension; the permanent log keeps its state, a
// log without a file gets none, and a file not catalogued yet is taken in.
TEST_F(LogStoreTest, SetLogStateRenamesTheFile) {
    write("a.ini-s,k.pln_on", stats().int32Record(1, 1));
    write("a.ini-s,k.pln_off", stats());
    write("abc.PLN_ON", LogBytes::known());
    write("statistics.ini-statistics,ConnRunTime.pln", stats());
    logs.scanLogs();
    prompter.shown.clear();

    logs.setLogState("A.ini-s,k", tLogState::inactive);
    logs.setLogState("a.ini-s,k", tLogState::active);
    EXPECT_EQ(logs.getLogState("a.ini-s,k"), tLogState::active);
    EXPECT_EQ(read("a.ini-s,k.pln_on"), stats().int32Record(1, 1).bytes());
    logs.findLog("a.ini-s,k")->loadValues();
    EXPECT_EQ(logs.findLog("a.ini-s,k")->recordCount(), 1) << "the object follows its file";
    logs.setLogState("abc", tLogState::inactive);
    EXPECT_TRUE(fs::exists(dir.file("abc.pln_off"))) << "the usual extension";
    EXPECT_FALSE(fs::exists(dir.file("abc.PLN_ON")));

    for (tLogState state : {tLogState::none, tLogState::inactive})
        logs.setLogState("statistics.ini-statistics,ConnRunTime", state);
    EXPECT_EQ(logs.getLogState("statistics.ini-statistics,ConnRunTime"), tLogState::permanent);
    EXPECT_TRUE(fs::exists(dir.file("statistics.ini-statistics,ConnRunTime.pln")));
    logs.setLogState("nothing.ini-s,k", tLogState::active);
    EXPECT_FALSE(logs.findLog("nothing.ini-s,k"));
    EXPECT_FALSE(fs::exists(dir.file("nothing.ini-s,k.pln_on")));

    write(hash + ".pln_off", LogBytes::known());
    logs.setLogState(hashName, tLogState::inactive);
    EXPECT_EQ(logs.getLogState(hashName), tLogState::inactive) << "added in its state";
    write("new.ini-s,k.pln_off", stats());
    logs.setLogState("new.ini-s,k", tLogState::active);
    EXPECT_EQ(logs.getLogState("new.ini-s,k"), tLogState::active);
    EXPECT_TRUE(fs::exists(dir.file("new.ini-s,k.pln_on")));
}

TEST_F(LogStoreTest, DeletingRemovesFilesAndRenamingKeepsTheCatalogueSorted) {
    write(hash + ".pln_on", LogBytes::known());
    write("a.ini-s,k.pln_off", stats());
    write("statistics.ini-statistics,ConnRunTime.pln_on", stats());
    logs.scanLogs();
    std::vector<std::string> deleted;
    logs.onKnownFileLogDeleted([&](const std::string& name) { deleted.push_back(name); });

    logs.setLogState(hash, tLogState::none);
    logs.setLogState("a.ini-s,k", tLogState::none);
    logs.setLogState("statistics.ini-statistics,ConnRunTime", tLogState::none);
    EXPECT_EQ(deleted, std::vector<std::string>{hash});
    EXPECT_EQ(logs.count(), 0u);
    EXPECT_EQ(logs.connRunTimeLog(), nullptr);
    EXPECT_TRUE(fs::is_empty(dir.path()));

    for (const char* name : {"virtual;a.pln_on", "virtual;m.pln_on"})
        write(name, LogBytes::combined(0, "a.ini-s,k", "a.ini-s,k"));
    write("a.ini-s,k.pln_on", stats());
    logs.scanLogs();
    EXPECT_TRUE(logs.renameLog("VIRTUAL;A", "virtual;z"));
    EXPECT_EQ(namesOf(logs), (std::vector<std::string>{"a.ini-s,k", "virtual;m", "virtual;z"}));
    EXPECT_TRUE(fs::exists(dir.file("virtual;z.pln_on")));
    EXPECT_FALSE(logs.renameLog("virtual;z", "virtual;M")) << "the name is another entry's";
    EXPECT_FALSE(logs.renameLog("a.ini-s,k", "virtual;q")) << "only combined logs are renamed";
    EXPECT_TRUE(logs.renameLog("virtual;z", "virtual;Z"));
    EXPECT_EQ(logs.findLog("virtual;z")->name(), "virtual;Z");
}

TEST_F(LogStoreTest, CreateLogFileWritesAnEmptyLogOutsideTheCatalogue) {
    tLogHeader header{4, 1, 0.5, "kB"};
    EXPECT_TRUE(logs.createLogFile("a.ini-s,k", tLogState::active, header));
    EXPECT_EQ(read("a.ini-s,k.pln_on"), LogBytes::stats(4, 1, 0.5, "kB").bytes());
    EXPECT_TRUE(logs.createLogFile(hash, tLogState::inactive, header));
    EXPECT_EQ(read(hash + ".pln_off"), LogBytes::known().bytes());
    EXPECT_FALSE(logs.createLogFile("b.ini-s,k", tLogState::none, header));
    EXPECT_EQ(logs.count(), 0u);

    EXPECT_FALSE(logs.createLogFile("sub/x.ini-s,k", tLogState::active, header));
    tCombineBlock block{tLogOperation::sum, {std::string(300, 'n'), "b"}, 1};
    EXPECT_FALSE(logs.createLogFile("virtual;long", tLogState::active, header, block));
    tLogFiles elsewhere(tLogStoreContext{dir.file("missing/"), prompter, recorder});
    EXPECT_FALSE(elsewhere.createLogFile("c.ini-s,k", tLogState::permanent, header));
    EXPECT_EQ(
        errors(),
        (std::vector<std::string>{
            "Cannot create the \"sub/x.ini-s,k\" log file: The log name is not a valid file name",
            "Cannot create the \"virtual;long\" log file: The source log name is longer than 255 "
            "bytes",
            "Cannot create the \"c.ini-s,k\" log file: " + missingFolderText()}));
}

const std::string fileName = "statistics.ini-statistics,ConnRunTime.pln";

TEST_F(LogStoreTest, FirstStartCreatesTheFiveLogs) {
    tLogFiles nowhere(tLogStoreContext{dir.file("missing/"), prompter, recorder});
    EXPECT_FALSE(createDefaultLogs(nowhere));
    EXPECT_EQ(recorder.newLogs, 0);
    EXPECT_EQ(prompter.errors().size(), 5u);
    EXPECT_EQ(errors().front(),
              "Cannot create the \"statistics.ini-statistics,ConnRunTime\" log file: " +
                  missingFolderText());

    EXPECT_TRUE(createDefaultLogs(logs));
    EXPECT_EQ(recorder.newLogs, 1);
    EXPECT_EQ(read(fileName), LogBytes::stats(3, 1, 24, "Hours / day").bytes());
    EXPECT_EQ(read("statistics.ini-statistics,TotalUploadedBytes.pln_on"),
              LogBytes().prefix(1).header(4, 1, 0.0009765625, "kBytes / sec").bytes());
    EXPECT_EQ(logs.count(), 0u) << "the files enter the catalogue at the next scan";
    logs.scanLogs();
    EXPECT_EQ(logs.count(), 5u);
    ASSERT_NE(logs.connRunTimeLog(), nullptr);
    EXPECT_EQ(logs.connRunTimeLog()->state(), tLogState::permanent);
}

TEST_F(LogStoreTest, OnlyTheMissingPermanentLogMakesAFirstStartAndExistingLogsStay) {
    write(fileName, LogBytes().prefix(1).header(3, 1, 24, ""));
    EXPECT_FALSE(createDefaultLogs(logs));
    EXPECT_EQ(recorder.newLogs, 0);
    EXPECT_FALSE(fs::exists(dir.file("preferences.ini-eMule,MaxUpload.pln_on")));

    fs::remove(dir.file(fileName));
    write("statistics.ini-statistics,ConnRunTime.pln_on", LogBytes::stats());
    auto inactive = LogBytes().prefix(1).header(3, 2, 1.0, "mine").int32Record(1, 5);
    write("preferences.ini-eMule,MaxUpload.pln_off", inactive);
    EXPECT_TRUE(createDefaultLogs(logs)) << "a ConnRunTime log that is merely active counts not";
    EXPECT_TRUE(fs::exists(dir.file(fileName)));
    EXPECT_EQ(recorder.newLogs, 1);
    EXPECT_EQ(read("preferences.ini-eMule,MaxUpload.pln_off"), inactive.bytes());
    EXPECT_FALSE(fs::exists(dir.file("preferences.ini-eMule,MaxUpload.pln_on")));
    EXPECT_TRUE(fs::exists(dir.file("preferences.ini-eMule,USSEnabled.pln_on")));
}

LogBytes connRunTimeLog(std::initializer_list<std::int32_t> values) {
    LogBytes bytes = LogBytes::stats(3, 1, 24, "Hours / day");
    int day = 1;
    for (std::int32_t v : values)
        bytes.int32Record(dos(2024, 1, day++), v);
    return bytes;
}

using Values = std::vector<std::int32_t>;

Values valuesOf(const tLogRecords& records) {
    Values out;
    for (std::size_t i = 0; i < records.count(); ++i)
        out.push_back(static_cast<std::int32_t>(records.value(i)));
    return out;
}

Values corrected(std::initializer_list<std::int32_t> values) {
    LogBytes bytes;
    for (std::int32_t v : values)
        bytes.int32Record(0, v);
    auto records = bytes.bytes();
    correctConnRunTime(records);
    return valuesOf(tLogRecords(records, 3));
}

// Every drop is mended in one pass. Only the catalogue's log is corrected: in
// memory at a load, on disk once the recorder has paused for it.
TEST_F(LogStoreTest, ConnRunTimeIsCorrectedWhenLoadedAndWrittenBackInThePause) {
    EXPECT_EQ(corrected({10, 20, 5, 15}), (Values{10, 20, 25, 35}));
    EXPECT_EQ(corrected({10, 5, 20, 3}), (Values{10, 15, 30, 33}));
    EXPECT_EQ(corrected({5, 0, 5, 0, 5, 0, 5}), (Values{5, 5, 10, 10, 15, 15, 20}));
    EXPECT_EQ(corrected({10, 10, 20}), (Values{10, 10, 20}));
    EXPECT_EQ(corrected({7}), (Values{7}));
    EXPECT_EQ(corrected({-1, -5, 5}), (Values{-1, -6, 4})) << "signed comparison";

    write(fileName, connRunTimeLog({10, 20, 5, 15}));
    tLogFile outside(context, "statistics.ini-statistics,ConnRunTime");
    outside.loadValues();
    EXPECT_EQ(valuesOf(outside.values()), (Values{10, 20, 5, 15}));
    EXPECT_FALSE(writeBackConnRunTime(logs)) << "no ConnRunTime log catalogued";

    logs.scanLogs();
    tLogFile* log = logs.connRunTimeLog();
    ASSERT_NE(log, nullptr);
    log->loadValues();
    EXPECT_TRUE(recorder.suspended.empty()) << "a load only reads";
    requestConnRunTimeWriteBack(logs);
    EXPECT_EQ(valuesOf(log->values()), (Values{10, 20, 25, 35}));
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
}

} // namespace
} // namespace pln::test
