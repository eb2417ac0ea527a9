#include "common/text.h"
#include "known_met_bytes.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace pln {
namespace {

using namespace test;

class PlnTool : public testing::Test {
protected:
    TempDir dir;
};

TEST_F(PlnTool, ResaveWritesTheViewersNormalisedFileOrExitsNonZeroWithTheReason) {
    const Bytes stored =
        hex("0F 01000000 03000000" + hashHex(1) + "0000 02000000 93 01 6F6E65 89 51 07");
    const Bytes expected = hex("0E 01000000 03000000" + hashHex(1) +
                               "0000 02000000 02 0100 01 0300 6F6E65 03 0100 51 07000000");
    std::string in = dir.write("in.met", stored);
    EXPECT_EQ(runPlnTool("known resave " + in + " " + dir.file("out.met")), (CommandRun{0, ""}));
    EXPECT_EQ(readBytes(dir.file("out.met")), expected);
    EXPECT_EQ(readBytes(in), stored);

    std::string bad = dir.write("bad.met", hex("0D 00000000"));
    EXPECT_EQ(
        runPlnTool("known resave " + bad + " " + dir.file("bad-out.met")),
        (CommandRun{1, "pln-tool: Cannot read \"" + bad + "\": Unexpected known.met version\n"}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad-out.met")));
    for (const char* misuse : {"", "known dump", "cancelled add file"})
        EXPECT_EQ(runPlnTool(misuse).status, 2) << misuse;
    EXPECT_NE(runPlnTool("unknown words").output.find("pln-tool known dump FILE"),
              std::string::npos);
}

TEST_F(PlnTool, DumpPrintsOneJsonObjectPerRecord) {
    ByteWriter w;
    fileHead(w, 1);
    recordHead(w, 1'600'000'000, hashOf(0x11), 0, 3);
    idString(w, 0x01, "Caf\xE9 \"A\".avi");
    idUint32(w, 0x02, 4096);
    w.bytes(hex("85 C8 01")); // a bool tag without a name
    EXPECT_EQ(
        runPlnTool("known dump " + dir.write("known.met", w.buffer())),
        (CommandRun{
            0,
            R"({"hash":"11111111111111111111111111111100","name":"Café \"A\".avi","size":4096,)"
            R"("transferred":0,"requested":0,"accepted":0,"aich":"","partFileName":false,)"
            R"("date":1600000000,"parts":0,"tags":[{"id":1,"name":"FILENAME","type":"STRING",)"
            R"("value":"Café \"A\".avi"},{"id":2,"name":"FILESIZE","type":"UINT32","value":4096},)"
            R"({"id":200,"type":"BOOL"}]})"
            "\n"}));
}

TEST_F(PlnTool, CancelledAddDumpAndResave) {
    std::string file =
        dir.write("cancelled.met", hex("0F 01 78563412 01000000" + hashHex(0x22) + "01 89 40 03"));
    EXPECT_EQ(runPlnTool("cancelled add " + file + " 000102030405060708090a0b0c0d0e0f"),
              (CommandRun{0, ""}));
    EXPECT_EQ(runPlnTool("cancelled dump " + file),
              (CommandRun{0, "version 0x0F\nseed 0x12345678\n"
                             "22222222222222222222222222222200 1 tags\n"
                             "FCB6A4778A74CAE9990CDDE45E33182B\n"}));
    EXPECT_EQ(runPlnTool("cancelled resave " + file + " " + dir.file("out.met")),
              (CommandRun{0, ""}));
    const Bytes before = readBytes(file);
    EXPECT_EQ(readBytes(dir.file("out.met")), before);
    EXPECT_EQ(runPlnTool("cancelled add " + file + " 0011"),
              (CommandRun{1, "pln-tool: " + file + ": Invalid hash\n"}));
    EXPECT_EQ(readBytes(file), before);
}

TEST_F(PlnTool, SharedScanListsSharedFilesAndKnownMatches) {
    std::string share = dir.mkdir("share");
    std::string movie = dir.write("share/Movie.avi", "0123456789");
    struct timespec times[2] = {{1'600'000'000, 400'000'000}, {1'600'000'000, 400'000'000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, movie.c_str(), times, 0), 0);
    dir.write("config/preferences.ini", "[eMule]\r\nIncomingDir=" + share + "\r\n");
    ByteWriter known;
    fileHead(known, 2);
    simpleRecord(known, hashOf(1), "movie.avi", 10, 0);
    simpleRecord(known, hashOf(2), "other.avi", 10, 0);
    std::string knownMet = dir.write("known.met", known.buffer());

    const std::string listed = "Movie.avi\t" + share + "\t10\t2020-09-13 12:26:40.400\n";
    EXPECT_EQ(
        runPlnTool("shared scan " + dir.file("config") + " --known " + knownMet),
        (CommandRun{0, listed + "known files:\n" + hashOf(1).toString() + "\tshared\tmovie.avi\t" +
                           share + "\n" + hashOf(2).toString() + "\tnot shared\tother.avi\t\n"}));

    dir.write("config/shareddir.dat", "\xFF\xFE" + utf8ToUtf16le(share + "\r\n"));
    dir.write("config/preferences.ini", "");
    EXPECT_EQ(runPlnTool("shared scan " + dir.file("config")),
              (CommandRun{1, "pln-tool: " + dir.file("config/preferences.ini") +
                                 ": no IncomingDir in section eMule\n" + listed}));
}

} // namespace
} // namespace pln
