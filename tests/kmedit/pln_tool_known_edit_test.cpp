#include "common/byte_writer.h"
#include "emulefiles/core/known_met_codec.h"
#include "kmedit/core/emule_running.h"
#include "platform/posix/posix_mutex_service.h"
#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

using namespace test;

const std::string hash1(32, '1');
const std::string hash2(32, '2');

TEST(PlnToolKnownEditTest, RenamesAndForgetsOnlyWhileEmuleIsStopped) {
    TempDir dir;
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.mkdir("run"));
    tKnownMetList list;
    list.append("a", tKnownMetRecord::createFromValues("a", hash1, 1, 2, 3, 10, ""));
    list.append("b", tKnownMetRecord::createFromValues("b", hash2, 4, 5, 6, 20, ""));
    ByteWriter out;
    writeKnownMet(list, out);
    const std::string known = dir.write("known.met", out.buffer());
    dir.write("preferences.ini", "[eMule]\r\nPort=4712\r\n");
    dir.write("cancelled.met", std::string("\x0E\x00\x00\x00\x00", 5));

    {
        PosixMutexService mutexes(dir.file("run"));
        auto marker = mutexes.create(emuleInstanceMarker("4712"));
        ASSERT_EQ(marker.outcome, MutexOutcome::Created);
        const auto before = readBytes(known);
        CommandRun refused = runPlnTool("known rename " + known + " " + hash1 + " x");
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.output.find("Known.met cannot be modified while eMule is running"),
                  std::string::npos);
        EXPECT_EQ(runPlnTool("known forget " + known + " " + hash1).status, 1);
        EXPECT_EQ(readBytes(known), before);
    }

    CommandRun renamed = runPlnTool("known rename " + known + " " + hash1 + " 'new:name?'");
    EXPECT_EQ(renamed.status, 0) << renamed.output;
    CommandRun forgot = runPlnTool("known forget " + known + " " + hash2 + " --cancel " +
                                   dir.file("cancelled.met"));
    EXPECT_EQ(forgot.status, 0) << forgot.output;

    CommandRun dump = runPlnTool("known dump " + known);
    EXPECT_NE(dump.output.find("\"name\":\"newname\""), std::string::npos) << dump.output;
    EXPECT_EQ(dump.output.find(hash2), std::string::npos) << dump.output;
    CommandRun cancelled = runPlnTool("cancelled dump " + dir.file("cancelled.met"));
    EXPECT_NE(cancelled.output.find(hash2), std::string::npos) << cancelled.output;
}

} // namespace
} // namespace pln
