#include "common/byte_writer.h"
#include "common/text.h"
#include "known_met_bytes.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace pln {
namespace {

using namespace test;

TEST(PlnToolCancelled, AddDumpAndResave) {
    TempDir dir;
    ByteWriter w;
    w.u8(0x0F);
    w.u8(1);
    w.u32(0x12345678);
    w.u32(1);
    hashOf(0x22).writeToStream(w);
    w.u8(1);
    flaggedName(w, 9, 0x40);
    w.u8(3);
    std::string file = dir.write("cancelled.met", w.buffer());

    CommandRun add = runPlnTool("cancelled add " + file + " 000102030405060708090a0b0c0d0e0f");
    EXPECT_EQ(add.status, 0) << add.output;
    CommandRun dump = runPlnTool("cancelled dump " + file);
    EXPECT_EQ(dump.status, 0);
    EXPECT_EQ(dump.output, "version 0x0F\nseed 0x12345678\n"
                           "22222222222222222222222222222200 1 tags\n"
                           "FCB6A4778A74CAE9990CDDE45E33182B\n");

    CommandRun resave = runPlnTool("cancelled resave " + file + " " + dir.file("out.met"));
    EXPECT_EQ(resave.status, 0) << resave.output;
    EXPECT_EQ(readBytes(dir.file("out.met")), readBytes(file));

    std::vector<std::uint8_t> before = readBytes(file);
    CommandRun bad = runPlnTool("cancelled add " + file + " 0011");
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.output, "pln-tool: " + file + ": Invalid hash\n");
    EXPECT_EQ(readBytes(file), before);
    EXPECT_EQ(runPlnTool("cancelled add " + file).status, 2);
}

TEST(PlnToolShared, ScanListsSharedFilesAndKnownMatches) {
    TempDir dir;
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

    CommandRun scan = runPlnTool("shared scan " + dir.file("config") + " --known " + knownMet);
    EXPECT_EQ(scan.status, 0) << scan.output;
    EXPECT_EQ(scan.output, "Movie.avi\t" + share +
                               "\t10\t2020-09-13 12:26:40.400\n"
                               "known files:\n"
                               "01010101010101010101010101010100\tshared\tmovie.avi\t" +
                               share +
                               "\n"
                               "02020202020202020202020202020200\tnot shared\tother.avi\t\n");

    dir.write("config/shareddir.dat", "\xFF\xFE" + utf8ToUtf16le(share + "\r\n"));
    dir.write("config/preferences.ini", "");
    CommandRun incomplete = runPlnTool("shared scan " + dir.file("config"));
    EXPECT_EQ(incomplete.status, 1);
    EXPECT_EQ(incomplete.output, "pln-tool: " + dir.file("config/preferences.ini") +
                                     ": no IncomingDir in section eMule\n"
                                     "Movie.avi\t" +
                                     share + "\t10\t2020-09-13 12:26:40.400\n");
}

} // namespace
} // namespace pln
