#include "emulefiles/known_met_bytes.h"
#include "kmedit/core/emule_running.h"
#include "kmedit/core/known_met_edits.h"
#include "logstore/core/log_codec.h"
#include "logstore/core/log_names.h"
#include "logstore/core/recorder_link.h"
#include "platform/fake_platform.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_mutex_service.h"
#include "support/error_text.h"
#include "support/file_size_limit.h"
#include "support/recording_prompter.h"
#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pln {
namespace {

using namespace test;

std::string hashText(int n) {
    char text[33];
    std::snprintf(text, sizeof text, "%032X", n);
    return text;
}

class KnownMetEditsTest : public testing::Test {
protected:
    KnownMetEditsTest() {
        dir.mkdir("logs");
        // Long names make known.met far larger than cancelled.met.
        std::vector<KnownFile> records;
        for (int n = 1; n <= 5; ++n)
            records.push_back({"f" + std::to_string(n) + std::string(300, 'x'), hashText(n)});
        dir.write("known.met", knownMetOf(records));
        knownMet.load();
        dir.write("cancelled.met", hex("0E 00000000"));
        cancelled.load();
    }

    void writeLogs(std::initializer_list<int> numbers) {
        const tLogHeader header{valueTypeKnownFile, 0, 1.0, ""};
        for (int n : numbers)
            dir.write("logs/" + hashText(n) + ".pln_on",
                      encodeNewLog(kindOf(hashText(n)), header, {}));
        logs.scanLogs();
    }

    std::vector<std::string> knownHashes() {
        tKnownMet reread(dir.file("known.met"), files, fake.clock);
        reread.load();
        std::vector<std::string> hashes;
        for (std::size_t i = 0; i < reread.list()->count(); ++i)
            hashes.push_back(reread.list()->record(i).hash.toString());
        return hashes;
    }

    // The error of forgetting the file of hash n while no file may grow past limit bytes.
    std::string forgetFailing(std::size_t limit, int n) {
        std::string error;
        withFileSizeLimit(limit, [&] {
            error = errorOf([&] {
                forgetKnownFiles(knownMet, {hashText(n)}, {&cancelled, &logs});
            });
        });
        return error;
    }

    TempDir dir;
    PosixFileSystem files;
    FakePlatform fake;
    tKnownMet knownMet{dir.file("known.met"), files, fake.clock};
    tCancelledMet cancelled{dir.file("cancelled.met"), files};
    RecordingPrompter prompter;
    tDetachedRecorderLink recorder;
    tLogFiles logs{tLogStoreContext{dir.file("logs/"), prompter, recorder}};
};

// Salting the hashes is the cancelled.met test's.
TEST_F(KnownMetEditsTest, ForgettingMarksFilesCancelledAndDeletesTheLogsOnlyWhenAsked) {
    writeLogs({1, 2});
    EXPECT_EQ(forgetKnownFiles(knownMet, {hashText(1), hashText(3)}, {&cancelled, &logs}), 2u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("logs/" + hashText(1) + ".pln_on")));
    EXPECT_EQ(forgetKnownFiles(knownMet, {hashText(2), hashText(7)}, {}), 1u);
    EXPECT_TRUE(std::filesystem::exists(dir.file("logs/" + hashText(2) + ".pln_on")));
    EXPECT_EQ(knownHashes(), (std::vector<std::string>{hashText(4), hashText(5)}));
    tCancelledMet reread(dir.file("cancelled.met"), files);
    reread.load();
    ASSERT_EQ(reread.list()->count(), 2u);
    std::size_t index = 0;
    for (int n : {1, 3})
        EXPECT_TRUE(reread.list()->findByHash(tHash::create(hashText(n)), index)) << n;
}

TEST_F(KnownMetEditsTest, RenamingARowOfAHashStoredTwiceRenamesThatRow) {
    tKnownMetList& list = *knownMet.list();
    list.insert(2, "twin", tKnownMetRecord::createFromValues("twin", hashText(2), 0, 0, 0, 1, ""));
    EXPECT_TRUE(renameKnownFile(knownMet, hashText(2), "renamed", &list.record(2)));
    EXPECT_NE(list.record(1).getFileName(), "renamed");
    EXPECT_EQ(list.name(2), "renamed");
    EXPECT_EQ(list.record(2).getFileName(), "renamed");
    // The window's rename test refuses a name with any of them.
    EXPECT_EQ(withoutForbiddenCharacters("\\/:*?\"<>|Été (1)\\y|"), "Été (1)y");
}

// known.met cannot be written after cancelled.met was: the files stay known
// and marked cancelled, the user learns both, and the logs stay.
TEST_F(KnownMetEditsTest, AFailedSaveLeavesTheFileItWasWritingByteIdentical) {
    writeLogs({1});
    const auto knownBefore = readBytes(dir.file("known.met"));
    ASSERT_GT(knownBefore.size(), 1024u);

    EXPECT_THAT(forgetFailing(1024, 1),
                testing::StartsWith("An error occurred while saving known.met: Cannot write \"" +
                                    dir.file("known.met") +
                                    "\": File too large\r\ncancelled.met has been saved"));
    EXPECT_EQ(readBytes(dir.file("known.met")), knownBefore);
    EXPECT_FALSE(knownMet.isUnchanged()) << "the load cycle must bring the list back";
    tCancelledMet reread(dir.file("cancelled.met"), files);
    reread.load();
    EXPECT_EQ(reread.list()->count(), 1u);
    EXPECT_TRUE(std::filesystem::exists(dir.file("logs/" + hashText(1) + ".pln_on")));
    EXPECT_EQ(dir.entryCount(), 3u) << "no temporary file stays behind";

    // cancelled.met itself failing: nothing on disk changes.
    const auto cancelledBefore = readBytes(dir.file("cancelled.met"));
    knownMet.load();
    cancelled.load();
    EXPECT_EQ(forgetFailing(10, 2),
              "An error occurred while saving cancelled.met: Cannot write \"" +
                  dir.file("cancelled.met") + "\": File too large");
    EXPECT_EQ(readBytes(dir.file("cancelled.met")), cancelledBefore);
    EXPECT_EQ(readBytes(dir.file("known.met")), knownBefore);
    EXPECT_TRUE(knownMet.isUnchanged()) << "known.met in memory was not touched";
}

using testing::AllOf, testing::HasSubstr, testing::Not;

const std::string hash1(32, '1');
const std::string hash2(32, '2');

TEST(PlnToolKnownEditTest, RenamesAndForgetsOnlyWhileEmuleIsStopped) {
    TempDir dir;
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.mkdir("run"));
    const std::string known =
        dir.write("known.met", knownMetOf({{"a", hash1, 1, 2, 3, 10}, {"b", hash2, 4, 5, 6, 20}}));
    dir.write("preferences.ini", "[eMule]\r\nPort=4712\r\n");
    dir.write("cancelled.met", std::string("\x0E\x00\x00\x00\x00", 5));

    {
        PosixMutexService mutexes(dir.file("run"));
        auto marker = mutexes.create(emuleInstanceMarker("4712"));
        ASSERT_EQ(marker.outcome, MutexOutcome::Created);
        const auto before = readBytes(known);
        CommandRun refused = runPlnTool("known rename " + known + " " + hash1 + " x");
        EXPECT_EQ(refused.status, 1);
        EXPECT_THAT(refused.output,
                    HasSubstr("Known.met cannot be modified while eMule is running"));
        EXPECT_EQ(runPlnTool("known forget " + known + " " + hash1).status, 1);
        EXPECT_EQ(readBytes(known), before);
    }

    EXPECT_EQ(runPlnTool("known rename " + known + " " + hash1 + " 'new:name?'"),
              (CommandRun{0, "The following characters are not allowed in windows filenames:\n"
                             "\\/:*?\"<>|\n" +
                                 hash1 + " renamed to newname\n"}));
    EXPECT_EQ(
        runPlnTool("known forget " + known + " " + hash2 + " --cancel " +
                   dir.file("cancelled.met")),
        (CommandRun{0, "1 of 1 file(s) removed from known.met, 1 hash(es) in cancelled.met\n"}));

    EXPECT_THAT(runPlnTool("known dump " + known).output,
                AllOf(HasSubstr("\"name\":\"newname\""), Not(HasSubstr(hash2))));
    EXPECT_THAT(runPlnTool("cancelled dump " + dir.file("cancelled.met")).output, HasSubstr(hash2));
}

} // namespace
} // namespace pln
