#include "common/byte_writer.h"
#include "known_met_bytes.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pln {
namespace {

using namespace test;

TEST(PlnTool, ResaveWritesTheViewersNormalisedFile) {
    TempDir dir;
    ByteWriter stored;
    fileHead(stored, 2, 0x0F);
    simpleRecord(stored, hashOf(9), "nine", 9, 9);
    recordHead(stored, 3, hashOf(1), 0, 2);
    flaggedName(stored, 0x13, 0x01);
    stored.text("one");
    flaggedName(stored, 9, 0x51);
    stored.u8(7);
    ByteWriter expected;
    fileHead(expected, 2);
    recordHead(expected, 3, hashOf(1), 0, 2);
    idString(expected, 0x01, "one");
    idUint32(expected, 0x51, 7);
    simpleRecord(expected, hashOf(9), "nine", 9, 9);

    std::string in = dir.write("in.met", stored.buffer());
    CommandRun run = runPlnTool("known resave " + in + " " + dir.file("out.met"));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(readBytes(dir.file("out.met")), expected.buffer());
    EXPECT_EQ(readBytes(in), stored.buffer());
}

TEST(PlnTool, DumpPrintsOneJsonObjectPerRecord) {
    TempDir dir;
    ByteWriter w;
    fileHead(w, 1);
    recordHead(w, 1'600'000'000, hashOf(0x11), 0, 3);
    idString(w, 0x01, "Caf\xE9 \"A\".avi");
    idUint32(w, 0x02, 4096);
    flaggedName(w, 5, 0xC8);
    w.u8(1);
    CommandRun run = runPlnTool("known dump " + dir.write("known.met", w.buffer()));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(
        run.output,
        R"({"hash":"11111111111111111111111111111100","name":"Café \"A\".avi","size":4096,)"
        R"("transferred":0,"requested":0,"accepted":0,"aich":"","partFileName":false,)"
        R"("date":1600000000,"parts":0,"tags":[{"id":1,"name":"FILENAME","type":"STRING",)"
        R"("value":"Café \"A\".avi"},{"id":2,"name":"FILESIZE","type":"UINT32","value":4096},)"
        R"({"id":200,"type":"BOOL"}]})"
        "\n");
}

TEST(PlnTool, FailuresExitNonZeroWithTheReason) {
    TempDir dir;
    std::string bad = dir.write("bad.met", std::string("\x0D\x00\x00\x00\x00", 5));
    CommandRun run = runPlnTool("known resave " + bad + " " + dir.file("out.met"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "pln-tool: Cannot read \"" + bad + "\": Unexpected known.met version\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.met")));

    EXPECT_EQ(runPlnTool("").status, 2);
    EXPECT_EQ(runPlnTool("known dump").status, 2);
    EXPECT_NE(runPlnTool("unknown words").output.find("pln-tool known dump FILE"),
              std::string::npos);
}

} // namespace
} // namespace pln
