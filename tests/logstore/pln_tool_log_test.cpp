#include "app/core/startup.h"
#include "common/file_io.h"
#include "log_fixture.h"
#include "platform/platform.h"
#include "support/run_command.h"

#include <filesystem>

namespace pln::test {
namespace {

std::string shellWord(const std::string& text) {
    return "'" + text + "'";
}

class PlnToolLogTest : public LogStoreTest {};

TEST_F(PlnToolLogTest, CreateThenDump) {
    CommandRun run = runPlnTool("log create " + dir.path() +
                                " 'a.ini-s,k' inactive 2 5 '24 * 3600 / 1024' 'kB / day'");
    EXPECT_EQ(run.status, 0) << run.output;
    const LogBytes header = LogBytes::stats(2, 5, 84.375, "kB / day");
    EXPECT_EQ(read("a.ini-s,k.pln_off"), header.bytes());

    write("a.ini-s,k.pln_off", LogBytes(header).raw(std::string("\x00\x60\x5D\x58\xFF\xFF", 6)));
    run = runPlnTool("log dump " + shellWord(dir.file("a.ini-s,k.pln_off")));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "name: a.ini-s,k\nstate: Inactive\nkind: 1\nvalueType: 2\nflags: 5\n"
                          "multiplier: 84.375\nunits: kB / day\nrecords: 1\n"
                          "2024-02-29T12:00:00 -1\n");

    run = runPlnTool("log create " + dir.path() + " 'a.ini-s,k' active 2 5 1 ''");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "pln-tool: a.ini-s,k: a log of that name exists already\n");
}

TEST_F(PlnToolLogTest, DumpsKnownFileAndCombinedLogs) {
    std::string known = write(
        hash + ".pln_on",
        LogBytes::known().knownFileRecord(dos(2044, 1, 2, 3, 4, 6), 7, 5, 1ULL << 40).raw("xyz"));
    CommandRun run = runPlnTool("log dump " + known);
    EXPECT_EQ(run.output,
              "name: " + hash +
                  "\nstate: Active\nkind: 0\nrecords: 1\n"
                  "2044-01-02T03:04:06 requests=7 accepted=5 transferred=1099511627776\n"
                  "trailing bytes: 3\n");

    ASSERT_EQ(
        runPlnTool("log create " + dir.path() +
                   " 'virtual;up per session' active 5 4 1/1 kB 3 'x.ini-s,a' 'x.ini-s,b' 2.5")
            .status,
        0);
    run = runPlnTool("log dump " + shellWord(dir.file("virtual;up per session.pln_on")));
    EXPECT_EQ(run.output, "name: virtual;up per session\nstate: Active\nkind: 3\nvalueType: 5\n"
                          "flags: 4\nmultiplier: 1\nunits: kB\noperation: 3\nsource1: x.ini-s,a\n"
                          "source2: x.ini-s,b\nmaxValue: 2.5\n");
}

TEST_F(PlnToolLogTest, BadInputFailsWithTheReason) {
    std::string bad = write("b.ini-s,k.pln", LogBytes::known());
    CommandRun run = runPlnTool("log dump " + shellWord(bad));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "pln-tool: Invalid log file: \"b.ini-s,k.pln\"\n");
    const std::string create = "log create " + dir.path(), compress = "log compress " + dir.path();
    for (const std::string& arguments :
         {"log dump " + dir.file("notes.txt"), create + " 'c.ini-s,k' on 1 0 1 x",
          create + " 'c.ini-s,k' active 1 0 2* x", create + " 'virtual;v' active 5 0 1 x", compress,
          compress + " --threshold 30 --now 2024-02-30T00:00"})
        EXPECT_EQ(runPlnTool(arguments).status, 2) << arguments;
    EXPECT_FALSE(std::filesystem::exists(dir.file("c.ini-s,k.pln_on")));
}

TEST_F(PlnToolLogTest, CompressRewritesTheFolderUnlessTheRecorderRuns) {
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
        std::filesystem::create_directory_symlink("config", dir.file("link"));
        for (const std::string& spelling :
             {config, dir.path() + "/config//", dir.path() + "link/../config", dir.file("link")}) {
            CommandRun refused = runPlnTool(arguments + " --config " + spelling);
            EXPECT_EQ(refused.status, 1);
            EXPECT_EQ(refused.output, "pln-tool: the recorder of " + prefix +
                                          " is running; stop it before compressing its logs\n");
        }
        EXPECT_EQ(read("a.ini-s,k.pln_on"), old.bytes());
    }
    arguments += " --config " + config;
    CommandRun run = runPlnTool(arguments);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "1 logs rewritten, 2 of 3 records kept\n");
    EXPECT_EQ(read("a.ini-s,k.pln_on"), first.int32Record(at(17, 40), 3).bytes());
}

} // namespace
} // namespace pln::test
