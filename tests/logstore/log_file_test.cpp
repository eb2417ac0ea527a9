#include "app/core/startup.h"
#include "log_fixture.h"
#include "platform/platform.h"
#include "support/run_command.h"

#include <gmock/gmock.h>

namespace pln::test {
namespace {

const std::string statsName = "statistics.ini-statistics,TotalUploadedBytes";
const std::string inUse = fileInUseText;
const auto statsLog = [] { return LogBytes::stats(4, 1, 0.5, "kB"); };
LogBytes ratioLog(std::string_view first, std::string_view second) {
    return LogBytes().prefix(3).header(5, 4, 2.0, "ratio").sources(3, first, second);
}

// Whole records are read, a trailing part is not, and nothing stays loaded
// once freed; a log without a file reports why it has no records. A combined
// log loads its stats sources only and has no records of its own.
TEST_F(LogStoreTest, LoadsWholeRecordsReportsAMissingFileAndKeepsInstants) {
    auto two = LogBytes::known().knownFileRecord(dos(2024, 1, 1), 1, 2, 3);
    write(hash + ".pln_on", two.knownFileRecord(dos(2024, 1, 2), 4, 5, 1ULL << 40).raw("partial"));
    tLogFile log(context, hash);
    EXPECT_EQ(log.recordsSize(), -1) << "the properties only are read at first";
    log.loadValues();
    EXPECT_EQ(log.recordsSize(), 47);
    ASSERT_EQ(log.recordCount(), 2);
    const tKnownFileValues second = log.values().knownFileValues(1);
    EXPECT_EQ(log.values().stamp(1), dos(2024, 1, 2));
    EXPECT_EQ(std::tuple(second.requests, second.accepted, second.transferred),
              std::tuple(4u, 5u, 1ULL << 40));
    log.freeValues();
    EXPECT_EQ(log.recordsSize(), -1);
    EXPECT_TRUE(log.records().empty());

    write(statsName + ".pln", statsLog());
    tLogFile empty(context, statsName);
    empty.loadValues();
    EXPECT_EQ(empty.recordsSize(), 0) << "loaded, with no records";

    tLogFile missing(context, "nothing.ini-a,b");
    EXPECT_EQ(missing.state(), tLogState::none);
    missing.loadValues();
    EXPECT_EQ(missing.recordsSize(), -1);

    write("a.ini-s,x.pln_on", LogBytes::stats().int32Record(dos(2024, 1, 1), 5));
    write("virtual;ok.pln_on", ratioLog("a.ini-s,x", "Queued clients"));
    tLogFile ok(context, "virtual;ok");
    ok.loadValues();
    EXPECT_EQ(ok.recordsSize(), -1);
    ASSERT_NE(ok.source(0), nullptr);
    EXPECT_EQ(ok.source(0)->recordCount(), 1);
    EXPECT_EQ(ok.source(1)->recordsSize(), -1);
    EXPECT_EQ(errors(),
              (std::vector<std::string>{
                  "Cannot load the \"nothing.ini-a,b\" log file: No such file or directory",
                  "Cannot load the \"Queued clients\" log file: No such file or directory"}));
    ok.freeValues();
    EXPECT_EQ(ok.source(0), nullptr);

    // A log loaded again takes the records read and the instants worked out
    // before, until its file is appended to or replaced; a replacement keeps the
    // header and cuts whatever followed the records.
    tInstantsCache cache;
    context.instants = &cache;
    LogBytes twoDays = statsLog().int64Record(dos(2024, 1, 1), 1).int64Record(dos(2024, 1, 2), 2);
    write(statsName + ".pln", twoDays);
    tLogFile kept(context, statsName);
    kept.loadValues();
    tLogFile again(context, statsName);
    again.loadValues();
    EXPECT_EQ(again.values().instants().data(), kept.values().instants().data());
    EXPECT_EQ(again.records().data(), kept.records().data());

    write(statsName + ".pln", twoDays.int64Record(dos(2024, 1, 4), 3).raw("xy"));
    kept.loadValues();
    ASSERT_EQ(kept.values().instants().size(), 3u);
    EXPECT_EQ(kept.values().instant(2) - kept.values().instant(1), 2 * 86400);

    auto sixHours = [](LogBytes b) {
        return b.int64Record(dos(2024, 1, 1), 1).int64Record(dos(2024, 1, 1, 6), 2).bytes();
    };
    ASSERT_TRUE(kept.replaceValues(sixHours(LogBytes())));
    EXPECT_EQ(read(statsName + ".pln"), sixHours(statsLog()));
    kept.loadValues();
    EXPECT_EQ(kept.values().instant(1) - kept.values().instant(0), 6 * 3600);
    EXPECT_TRUE(kept.replaceValues({}));
    EXPECT_EQ(read(statsName + ".pln"), statsLog().bytes());
}

// New properties rewrite the header in place and keep the value type and the
// records; a known-file log has no header to change. A combined log saved
// without a maximum grows to take one, and a rename keeps its extension but
// not a name another file has.
TEST_F(LogStoreTest, PropertiesAndNamesAreRewrittenInPlaceUnlessAWriterHoldsTheFile) {
    write(statsName + ".pln_on", statsLog().int64Record(dos(2024, 1, 1), 1));
    tLogFile log(context, statsName);
    EXPECT_TRUE(log.updateProperties(5, std::string(63, 'u'), 0.25, tLogOperation::quotient, 7));
    const std::string units(62, 'u');
    EXPECT_EQ(read(statsName + ".pln_on"),
              LogBytes::stats(4, 5, 0.25, units).int64Record(dos(2024, 1, 1), 1).bytes());
    EXPECT_EQ(log.units(), units);
    write(hash + ".pln_on", LogBytes::known());
    EXPECT_TRUE(tLogFile(context, hash).updateProperties(5, "x", 2, tLogOperation::sum, 1));
    EXPECT_EQ(read(hash + ".pln_on"), LogBytes::known().bytes());

    write("virtual;ratio.pln_off", ratioLog("a.ini-s,x", "a.ini-s,y"));
    ASSERT_EQ(read("virtual;ratio.pln_off").size(), 592u);
    tLogFile ratio(context, "virtual;ratio");
    EXPECT_TRUE(std::isnan(ratio.maxValue())) << "a block ending after the names";
    EXPECT_TRUE(ratio.updateProperties(0, "%", 100, tLogOperation::secondShare, 50));
    EXPECT_TRUE(ratio.renameVirtual("virtual;share"));
    auto share = LogBytes().prefix(3).header(5, 0, 100, "%").sources(6, "a.ini-s,x", "a.ini-s,y");
    EXPECT_EQ(read("virtual;share.pln_off"), share.f64(50).bytes());
    EXPECT_FALSE(fs::exists(dir.file("virtual;ratio.pln_off")));
    write("virtual;taken.pln_on", ratioLog("x.ini-s,a", "x.ini-s,b").f64(1));
    EXPECT_FALSE(ratio.renameVirtual("virtual;taken"));
    EXPECT_EQ(ratio.name(), "virtual;share");
    EXPECT_EQ(errors(), std::vector<std::string>{"Cannot save the \"virtual;share\" log "
                                                 "file: Another log file has that name"});

    // A file a writer holds fails at once instead of blocking; readers share it.
    const LogBytes bytes = statsLog().int64Record(dos(2024, 1, 1), 1);
    std::string path = write(statsName + ".pln_on", bytes);
    tLogFile held(context, statsName);
    {
        LockedFile writer(path, LockedFile::Access::ReadWrite);
        tLogFile blocked(context, statsName);
        EXPECT_EQ(blocked.valueType(), 0);
        held.loadValues();
        EXPECT_EQ(held.recordsSize(), -1);
        EXPECT_FALSE(held.updateProperties(0, "x", 1, tLogOperation::sum, missingValue()));
        EXPECT_FALSE(held.replaceValues({}));
    }
    const std::string save = "Cannot save the \"" + statsName + "\" log file: " + inUse;
    EXPECT_EQ(errors(),
              (std::vector<std::string>{
                  "Cannot create log object from the file \"" + statsName + "\": " + inUse,
                  "Cannot load the \"" + statsName + "\" log file: " + inUse, save, save}));
    EXPECT_EQ(read(statsName + ".pln_on"), bytes.bytes());
    LockedFile reader(path, LockedFile::Access::Read);
    held.loadValues();
    EXPECT_EQ(held.recordCount(), 1) << "readers share the file";
}

const auto shellWord = [](const std::string& text) { return "'" + text + "'"; };

using PlnToolTest = LogStoreTest;

TEST_F(PlnToolTest, CreatesAndDumpsLogsAndFailsOnBadInputWithTheReason) {
    EXPECT_EQ(runPlnTool("log create " + dir.path() +
                         " 'a.ini-s,k' inactive 2 5 '24 * 3600 / 1024' 'kB / day'"),
              (CommandRun{0, ""}));
    const LogBytes header = LogBytes::stats(2, 5, 84.375, "kB / day");
    EXPECT_EQ(read("a.ini-s,k.pln_off"), header.bytes());

    write("a.ini-s,k.pln_off", LogBytes(header).raw(std::string("\x00\x60\x5D\x58\xFF\xFF", 6)));
    EXPECT_EQ(runPlnTool("log dump " + shellWord(dir.file("a.ini-s,k.pln_off"))),
              (CommandRun{0, "name: a.ini-s,k\nstate: Inactive\nkind: 1\nvalueType: 2\nflags: 5\n"
                             "multiplier: 84.375\nunits: kB / day\nrecords: 1\n"
                             "2024-02-29T12:00:00 -1\n"}));
    EXPECT_EQ(runPlnTool("log create " + dir.path() + " 'a.ini-s,k' active 2 5 1 ''"),
              (CommandRun{1, "pln-tool: a.ini-s,k: a log of that name exists already\n"}));

    std::string known = write(
        hash + ".pln_on",
        LogBytes::known().knownFileRecord(dos(2044, 1, 2, 3, 4, 6), 7, 5, 1ULL << 40).raw("xyz"));
    EXPECT_EQ(runPlnTool("log dump " + known).output,
              "name: " + hash +
                  "\nstate: Active\nkind: 0\nrecords: 1\n"
                  "2044-01-02T03:04:06 requests=7 accepted=5 transferred=1099511627776\n"
                  "trailing bytes: 3\n");
    EXPECT_EQ(runPlnTool("log create " + dir.path() +
                         " 'virtual;up per session' active 5 4 1/1 kB "
                         "3 'x.ini-s,a' 'x.ini-s,b' 2.5"),
              (CommandRun{0, ""}));
    EXPECT_EQ(runPlnTool("log dump " + shellWord(dir.file("virtual;up per session.pln_on"))).output,
              "name: virtual;up per session\nstate: Active\nkind: 3\nvalueType: 5\n"
              "flags: 4\nmultiplier: 1\nunits: kB\noperation: 3\nsource1: x.ini-s,a\n"
              "source2: x.ini-s,b\nmaxValue: 2.5\n");

    std::string bad = write("b.ini-s,k.pln", LogBytes::known());
    EXPECT_EQ(runPlnTool("log dump " + shellWord(bad)),
              (CommandRun{1, "pln-tool: Invalid log file: \"b.ini-s,k.pln\"\n"}));
    const std::string create = "log create " + dir.path(), compress = "log compress " + dir.path();
    for (const std::string& arguments :
         {"log dump " + dir.file("notes.txt"), create + " 'c.ini-s,k' on 1 0 1 x",
          create + " 'c.ini-s,k' active 1 0 2* x", create + " 'virtual;v' active 5 0 1 x", compress,
          compress + " --threshold 30 --now 2024-02-30T00:00"})
        EXPECT_EQ(runPlnTool(arguments).status, 2) << arguments;
    EXPECT_FALSE(fs::exists(dir.file("c.ini-s,k.pln_on")));
}

TEST_F(PlnToolTest, CompressRewritesTheFolderUnlessTheRecorderRuns) {
    auto at = [](int minute, int second) { return dos(2024, 1, 1, 12, minute, second); };
    auto first = LogBytes::stats().int32Record(at(0, 0), 1);
    auto old = LogBytes(first).int32Record(at(10, 0), 2).int32Record(at(17, 40), 3);
    write("a.ini-s,k.pln_on", old);
    std::string config = dir.mkdir("config");
    std::string arguments = "log compress " + dir.path() + " --threshold 30 --now 2024-02-15T00:00";
    {
        NativePlatform platform;
        const std::string prefix = canonicalFolder(config);
        auto held = platform.services().mutexes.create(prefix + sharedNameId + "_recorder");
        ASSERT_EQ(held.outcome, MutexOutcome::Created);
        fs::create_directory_symlink("config", dir.file("link"));
        for (const std::string& spelling :
             {config, dir.path() + "/config//", dir.path() + "link/../config", dir.file("link")})
            EXPECT_EQ(runPlnTool(arguments + " --config " + spelling),
                      (CommandRun{1, "pln-tool: the recorder of " + prefix +
                                         " is running; stop it before compressing its logs\n"}));
        EXPECT_EQ(read("a.ini-s,k.pln_on"), old.bytes());
    }
    EXPECT_EQ(runPlnTool(arguments + " --config " + config),
              (CommandRun{0, "1 logs rewritten, 2 of 3 records kept\n"}));
    EXPECT_EQ(read("a.ini-s,k.pln_on"), first.int32Record(at(17, 40), 3).bytes());
}

TEST_F(PlnToolTest, GraphPrintsTheDrawingAndRefusesUnknownNames) {
    using ::testing::ContainsRegex, ::testing::HasSubstr;
    LogBytes known = LogBytes::known();
    for (int k = 0; k < 4; ++k)
        known.knownFileRecord(dos(2020, 1, 1, 0, 11 * k), 11 * k, k, 0);
    dir.mkdir("PLN logs");
    dir.write("PLN logs/" + hash + ".pln_on", known.bytes());
    dir.write("events.log", "1/1/2020 12:05:00 AM=started\r\n");
    const std::string graph = "graph " + dir.path(), other(32, 'F');

    CommandRun csv = runPlnTool(graph + " --known " + hash + " --axis date --width 400");
    ASSERT_EQ(csv.status, 0) << csv.output;
    EXPECT_THAT(csv.output, HasSubstr("axis,date,\"Real date\""));
    EXPECT_THAT(csv.output, HasSubstr("zoomBarMaximum,1\n"));
    EXPECT_THAT(csv.output, ContainsRegex("legend,requests,#[0-9A-F]{6},\"Requests / hour\"\n"));
    EXPECT_THAT(csv.output, ContainsRegex("series,requests,1,\"Requested 1\",#[0-9A-F]{6},3\n"));
    EXPECT_THAT(csv.output, HasSubstr("point,requests,1,43831.00763888889,60\n"));
    EXPECT_THAT(csv.output, HasSubstr("point,transferred,0,43831.00347222222,1\n"));
    // Without a ConnRunTime log the viewer falls back to the real dates.
    CommandRun json = runPlnTool(graph + " --known " + hash +
                                 " --axis runtime --format json --points-per-pixel 10");
    EXPECT_EQ(json.status, 0);
    EXPECT_THAT(json.output,
                HasSubstr("\"runtimeAxis\":false,\"bottomAxis\":{\"title\":\"Real date\""));
    EXPECT_EQ(runPlnTool(graph + " --stats nothing.ini-a,b"),
              (CommandRun{1, "pln-tool: nothing.ini-a,b: no such stats log\n"}));
    EXPECT_EQ(runPlnTool(graph + " --known " + other),
              (CommandRun{1, "pln-tool: " + other + ": no log of that known file\n"}));
}

} // namespace
} // namespace pln::test
