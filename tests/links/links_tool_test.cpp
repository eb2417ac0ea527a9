#include "common/byte_writer.h"
#include "link_fixture.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

using namespace test;

// Two records in hash order: "a b&c.txt" (hashA) and "z.txt" (hashB).
std::string writeKnownMet(const TempDir& dir) {
    ByteWriter w;
    w.u8(0x0E);
    w.u32(2);
    linkRecord("a b&c.txt", 1234)->writeToStream(w);
    linkRecord("z.txt", 7, "AICH", hashB)->writeToStream(w);
    return dir.write("known.met", w.buffer());
}

TEST(LinksTool, PrintsTheChosenRecordsAndReportsUnknownHashesAndMisuse) {
    TempDir dir;
    std::string file = writeKnownMet(dir);
    CommandRun all = runPlnTool("links " + file);
    EXPECT_EQ(all.status, 0) << all.output;
    EXPECT_EQ(all.output, "ed2k://|file|a%20b%26c.txt|1234|0123456789ABCDEF0123456789ABCDEF|/\n"
                          "ed2k://|file|z.txt|7|FEDCBA9876543210FEDCBA9876543210|h=AICH|/\n");
    CommandRun chosen = runPlnTool("links " + file + " --format '<NAME>\\t<size>' " +
                                   std::string(hashB) + " " + std::string(hashA));
    EXPECT_EQ(chosen.status, 0) << chosen.output;
    EXPECT_EQ(chosen.output, "z.txt\t7\na b&c.txt\t1234\n");

    CommandRun missing = runPlnTool("links " + file + " 00000000000000000000000000000000");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.output,
              "pln-tool: " + file + ": No record with the hash 00000000000000000000000000000000\n");
    CommandRun invalid = runPlnTool("links " + file + " xyz");
    EXPECT_EQ(invalid.status, 1);
    EXPECT_EQ(invalid.output, "pln-tool: " + file + ": Invalid hash\n");
    EXPECT_EQ(runPlnTool("links").status, 2);
    EXPECT_EQ(runPlnTool("links " + file + " --format").status, 2);
}

} // namespace
} // namespace pln
