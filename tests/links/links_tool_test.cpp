#include "emulefiles/known_met_bytes.h"
#include "link_fixture.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

using namespace test;

TEST(LinksTool, PrintsTheChosenRecordsAndReportsUnknownHashesAndMisuse) {
    TempDir dir;
    // Two records in hash order: "a b&c.txt" (hashA) and "z.txt" (hashB).
    ByteWriter w;
    fileHead(w, 2);
    linkRecord("a b&c.txt", 1234)->writeToStream(w);
    linkRecord("z.txt", 7, "AICH", hashB)->writeToStream(w);
    const std::string file = dir.write("known.met", w.buffer());
    EXPECT_EQ(runPlnTool("links " + file),
              (CommandRun{0, "ed2k://|file|a%20b%26c.txt|1234|" + std::string(hashA) + "|/\n" +
                                 "ed2k://|file|z.txt|7|" + std::string(hashB) + "|h=AICH|/\n"}));
    EXPECT_EQ(runPlnTool("links " + file + " --format '<NAME>\\t<size>' " + std::string(hashB) +
                         " " + std::string(hashA)),
              (CommandRun{0, "z.txt\t7\na b&c.txt\t1234\n"}));
    const std::string none(32, '0');
    EXPECT_EQ(runPlnTool("links " + file + " " + none),
              (CommandRun{1, "pln-tool: " + file + ": No record with the hash " + none + "\n"}));
    EXPECT_EQ(runPlnTool("links " + file + " xyz"),
              (CommandRun{1, "pln-tool: " + file + ": Invalid hash\n"}));
    EXPECT_EQ(runPlnTool("links").status, 2);
    EXPECT_EQ(runPlnTool("links " + file + " --format").status, 2);
}

} // namespace
} // namespace pln
