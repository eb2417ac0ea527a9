#include "graph_fixture.h"
#include "support/run_command.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pln::test {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;

TEST(PlnToolGraphTest, PrintsTheDrawingAndRefusesUnknownNames) {
    TempDir data;
    data.mkdir("PLN logs");
    LogBytes known = LogBytes().prefix(0);
    for (int k = 0; k < 4; ++k)
        known.knownFileRecord(at(k * 660), 11 * k, k, 0);
    data.write("PLN logs/" + hashOf(1) + ".pln_on", known.bytes());
    data.write("events.log", "1/1/2020 12:05:00 AM=started\r\n");
    std::string folder = "'" + data.path() + "'";

    CommandRun csv =
        runPlnTool("graph " + folder + " --known " + hashOf(1) + " --axis date --width 400");
    ASSERT_EQ(csv.status, 0) << csv.output;
    EXPECT_THAT(csv.output, HasSubstr("axis,date,\"Real date\""));
    EXPECT_THAT(csv.output, HasSubstr("zoomBarMaximum,1\n"));
    EXPECT_THAT(csv.output, ContainsRegex("legend,requests,#[0-9A-F]{6},\"Requests / hour\"\n"));
    EXPECT_THAT(csv.output, ContainsRegex("series,requests,1,\"Requested 1\",#[0-9A-F]{6},3\n"));
    EXPECT_THAT(csv.output, HasSubstr("point,requests,1,43831.00763888889,60\n"));
    EXPECT_THAT(csv.output, HasSubstr("point,transferred,0,43831.00347222222,1\n"));

    CommandRun json = runPlnTool("graph " + folder + " --known " + hashOf(1) +
                                 " --axis runtime --format json --points-per-pixel 10");
    ASSERT_EQ(json.status, 0) << json.output;
    // Without a ConnRunTime log the viewer falls back to the real dates.
    EXPECT_THAT(json.output,
                HasSubstr("\"runtimeAxis\":false,\"bottomAxis\":{\"title\":\"Real date\""));

    CommandRun unknownLog = runPlnTool("graph " + folder + " --stats nothing.ini-a,b");
    EXPECT_EQ(unknownLog.status, 1);
    EXPECT_THAT(unknownLog.output, HasSubstr("nothing.ini-a,b: no such stats log"));
    CommandRun unknownFile = runPlnTool("graph " + folder + " --known " + hashOf(2));
    EXPECT_EQ(unknownFile.status, 1);
    EXPECT_THAT(unknownFile.output, HasSubstr(hashOf(2) + ": no log of that known file"));
}

} // namespace
} // namespace pln::test
