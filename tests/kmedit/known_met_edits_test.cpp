#include "emulefiles/emulefiles_prelude.h"
#include "kmedit/core/emule_running.h"
#include "kmedit/core/known_met_edits.h"
#include "kmedit/core/repair_km.h"
#include "logstore/log_fixture.h"
#include "platform/locked_file.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_mutex_service.h"
#include "support/file_size_limit.h"
#include "support/hash_text.h"

namespace pln {
namespace {

using namespace test;

const std::string aich = "ZYXWVUTSRQPONMLKJIHGFEDCBA234567";

// known.met and cancelled.met in a config folder, the logs beside it.
class KnownMetEditsTest : public testing::Test {
protected:
    KnownMetEditsTest() { clock.nowMs = 4'000'000'000'000; }

    std::string writeKnownMet(const std::string& file, const std::vector<KnownFile>& records) {
        return dir.write("config/" + file, knownMetOf(records));
    }
    // Five files whose long names make known.met far larger than cancelled.met,
    // an empty log for each of those numbered, all loaded.
    void loadFiveFiles(std::initializer_list<int> logged) {
        writeKnownMet("known.met", {file(1), file(2), file(3), file(4), file(5)});
        for (int n : logged)
            writeLog(hashOf(n), {});
        loaded();
    }
    static KnownFile file(int n) {
        return {"f" + std::to_string(n) + std::string(300, 'x'), hashOf(n)};
    }

    // A known-file log of requests and transferred bytes, a record a minute.
    static Bytes logOf(const std::vector<std::pair<int, int>>& values) {
        LogBytes bytes = LogBytes::known();
        std::uint32_t minute = 0;
        for (auto [requests, transferred] : values)
            bytes.knownFileRecord(dos(2024, 1, 1, 0, minute++), requests, requests, transferred);
        return bytes.bytes();
    }
    void writeLog(const std::string& hash, const std::vector<std::pair<int, int>>& values) {
        dir.write(hash + ".pln_on", logOf(values));
    }

    tRepairContext& loaded() {
        knownMet.load();
        cancelled.load();
        logs.scanLogs();
        return repair;
    }

    // The error of forgetting the file of hash n while no file may grow past limit bytes.
    std::string forgetFailing(std::size_t limit, int n) {
        std::string error;
        withFileSizeLimit(limit, [&] {
            error = errorOf([&] { forgetKnownFiles(knownMet, {hashOf(n)}, {&cancelled, &logs}); });
        });
        return error;
    }

    // What the file on disk holds now of a record: name, size, transferred,
    // requested, accepted and AICH hash.
    std::string saved(const std::string& hash) {
        tKnownMet onDisk(knownMetPath, files, clock);
        onDisk.load();
        std::size_t index = 0;
        if (!onDisk.list()->findByHash(hash, index))
            return "absent";
        const tKnownMetRecord& r = onDisk.list()->record(index);
        return r.getFileName() + "|" + std::to_string(r.getFileSize()) + "|" +
               std::to_string(r.getTransferred()) + "|" + std::to_string(r.getRequested()) + "|" +
               std::to_string(r.getAccepted()) + "|" + r.getAichHash();
    }
    std::vector<std::uint8_t> logBytes(const std::string& hash) {
        return readBytes(dir.file(hash + ".pln_on"));
    }

    TempDir dir;
    std::string configFolder = dir.mkdir("config");
    std::string knownMetPath = writeKnownMet("known.met", {});
    std::string cancelledPath = dir.write("config/cancelled.met", hex("0E 00000000"));
    PosixFileSystem files;
    FakeClock clock;
    RecordingPrompter prompter;
    RecordingRecorderLink recorder;
    tLogFiles logs{tLogStoreContext{dir.path(), prompter, recorder}};
    tKnownMet knownMet{knownMetPath, files, clock};
    tCancelledMet cancelled{cancelledPath, files};
    tRepairContext repair{knownMet, logs, files, clock};
};
using Repair = KnownMetEditsTest;

TEST_F(KnownMetEditsTest, ForgettingMarksFilesCancelledAndDeletesTheLogsOnlyWhenAsked) {
    loadFiveFiles({1, 2});
    EXPECT_EQ(forgetKnownFiles(knownMet, {hashOf(1), hashOf(3)}, {&cancelled, &logs}), 2u);
    EXPECT_FALSE(std::filesystem::exists(dir.file(hashOf(1) + ".pln_on")));
    EXPECT_EQ(forgetKnownFiles(knownMet, {hashOf(2), hashOf(7)}, {}), 1u);
    EXPECT_TRUE(std::filesystem::exists(dir.file(hashOf(2) + ".pln_on")));
    EXPECT_EQ(readBytes(knownMetPath), knownMetOf({file(4), file(5)}));
    // Saved without salt: each hash, then no tags.
    EXPECT_EQ(readBytes(cancelledPath), hex("0E 02000000" + hashOf(1) + "00" + hashOf(3) + "00"));
}

TEST_F(KnownMetEditsTest, RenamingARowOfAHashStoredTwiceRenamesThatRow) {
    loadFiveFiles({});
    tKnownMetList& list = *knownMet.list();
    list.insert(2, "twin", tKnownMetRecord::createFromValues("twin", hashOf(2), 0, 0, 0, 1, ""));
    EXPECT_TRUE(renameKnownFile(knownMet, hashOf(2), "renamed", &list.record(2)));
    EXPECT_NE(list.record(1).getFileName(), "renamed");
    EXPECT_EQ(list.name(2), "renamed");
    EXPECT_EQ(list.record(2).getFileName(), "renamed");
    // The window's rename test refuses a name with any of them.
    EXPECT_EQ(withoutForbiddenCharacters("\\/:*?\"<>|Été (1)\\y|"), "Été (1)y");
}

// known.met cannot be written after cancelled.met was: the files stay known
// and marked cancelled, the user learns both, and the logs stay.
TEST_F(KnownMetEditsTest, AFailedSaveLeavesTheFileItWasWritingByteIdentical) {
    loadFiveFiles({1});
    const auto knownBefore = readBytes(knownMetPath);
    ASSERT_GT(knownBefore.size(), 1024u);

    EXPECT_THAT(forgetFailing(1024, 1),
                testing::StartsWith("An error occurred while saving known.met: Cannot write \"" +
                                    knownMetPath +
                                    "\": File too large\r\ncancelled.met has been saved"));
    EXPECT_EQ(readBytes(knownMetPath), knownBefore);
    EXPECT_FALSE(knownMet.isUnchanged()) << "the load cycle must bring the list back";
    EXPECT_EQ(readBytes(cancelledPath), hex("0E 01000000" + hashOf(1) + "00"));
    EXPECT_TRUE(std::filesystem::exists(dir.file(hashOf(1) + ".pln_on")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(configFolder), {}), 2)
        << "no temporary file stays behind";

    // cancelled.met itself failing: nothing on disk changes.
    const auto cancelledBefore = readBytes(cancelledPath);
    loaded();
    EXPECT_EQ(forgetFailing(10, 2),
              "An error occurred while saving cancelled.met: Cannot write \"" + cancelledPath +
                  "\": File too large");
    EXPECT_EQ(readBytes(cancelledPath), cancelledBefore);
    EXPECT_EQ(readBytes(knownMetPath), knownBefore);
    EXPECT_TRUE(knownMet.isUnchanged()) << "known.met in memory was not touched";
}

TEST(PlnToolKnownEditTest, RenamesAndForgetsOnlyWhileEmuleIsStopped) {
    TempDir dir;
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.mkdir("run"));
    const std::string known = dir.write(
        "known.met", knownMetOf({{"a", hashOf(1), 1, 2, 3, 10}, {"b", hashOf(2), 4, 5, 6, 20}}));
    dir.write("preferences.ini", "[eMule]\r\nPort=4712\r\n");
    dir.write("cancelled.met", hex("0E 00000000"));

    {
        PosixMutexService mutexes(dir.file("run"));
        auto marker = mutexes.create(emuleInstanceMarker("4712"));
        ASSERT_EQ(marker.outcome, MutexOutcome::Created);
        const auto before = readBytes(known);
        const CommandRun refused{1, "pln-tool: " + std::string(emuleRunningMessage) + "\n"};
        EXPECT_EQ(runPlnTool("known rename " + known + " " + hashOf(1) + " x"), refused);
        EXPECT_EQ(runPlnTool("known forget " + known + " " + hashOf(1)), refused);
        EXPECT_EQ(readBytes(known), before);
    }

    EXPECT_EQ(runPlnTool("known rename " + known + " " + hashOf(1) + " 'new:name?'"),
              (CommandRun{0, "The following characters are not allowed in windows filenames:\n"
                             "\\/:*?\"<>|\n" +
                                 hashOf(1) + " renamed to newname\n"}));
    EXPECT_EQ(
        runPlnTool("known forget " + known + " " + hashOf(2) + " --cancel " +
                   dir.file("cancelled.met")),
        (CommandRun{0, "1 of 1 file(s) removed from known.met, 1 hash(es) in cancelled.met\n"}));

    EXPECT_EQ(readBytes(known), knownMetOf({{"newname", hashOf(1), 1, 2, 3, 10}}));
    EXPECT_EQ(readBytes(dir.file("cancelled.met")), hex("0E 01000000" + hashOf(2) + "00"));
}

TEST_F(Repair, LogsAddTheirCountersAndUndoRestarts) {
    writeKnownMet("known.met", {{"kept.avi", hashOf(2), 5, 1, 0, 700}});
    writeLog(hashOf(1), {{1, 10}, {2, 20}, {0, 5}, {1, 15}, {0, 3}, {1, 8}});
    writeLog(hashOf(2), {{1, 50}, {3, 100}});
    const std::vector<std::uint8_t> logA = logBytes(hashOf(1));
    const std::vector<std::uint8_t> logB = logBytes(hashOf(2));

    EXPECT_EQ(repairKM(loaded(), false).repaired, 1u);
    EXPECT_EQ(saved(hashOf(1)), "absent");
    EXPECT_EQ(logBytes(hashOf(1)), logA);
    EXPECT_EQ(saved(hashOf(2)), "kept.avi|700|105|4|3|");
    EXPECT_EQ(logBytes(hashOf(2)), logB);

    EXPECT_EQ(repairKM(loaded(), true).restored, 1u);
    EXPECT_EQ(saved(hashOf(1)), std::string(unknownFileName) + "|0|43|4|4|");
    // Restarts of the counter are undone: each value adds to the last.
    EXPECT_EQ(logBytes(hashOf(1)), logOf({{1, 10}, {2, 20}, {2, 25}, {3, 35}, {3, 38}, {4, 43}}));
    // The counters now hold what the logs hold: nothing more to add.
    EXPECT_EQ(saved(hashOf(2)), "kept.avi|700|105|4|3|");
    EXPECT_FALSE(repairKM(loaded(), true).any());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(Repair, RestoredFilesAreCompletedByABackupAndByLinks) {
    writeLog(hashOf(1), {{7, 70}});
    writeLog(hashOf(2), {{8, 80}});
    EXPECT_EQ(repairKM(loaded(), true).restored, 2u);

    const std::string backupPath =
        writeKnownMet("known.~met", {{"movie.avi", hashOf(1), 1, 1, 0, 700},
                                     {"other.txt", hashOf(3), 3, 3, 0, 10}});
    EXPECT_EQ(errorOf([&] { importMissingKF(repair, configFolder + "KNOWN.MET"); }),
              notABackupMessage);
    EXPECT_EQ(importMissingKF(repair, backupPath), 2u);
    EXPECT_EQ(saved(hashOf(1)), "movie.avi|700|70|7|7|");
    EXPECT_EQ(saved(hashOf(3)), "other.txt|10|3|3|0|");
    EXPECT_EQ(importMissingKF(repair, backupPath), 0u);

    const std::string tail = "|h=" + aich + "|/";
    EXPECT_EQ(pasteKF(repair, {"ed2k://|file|a%20b.txt|5000000000|" + hashOf(2) + tail,
                               "ed2k://|file|renamed.txt|99|" + hashOf(3) + "|/",
                               "ed2k://|file|new.bin|0|" + hashOf(4) + tail}),
              2u);
    EXPECT_EQ(saved(hashOf(2)), "a b.txt|5000000000|80|8|8|" + aich);
    EXPECT_EQ(saved(hashOf(3)), "other.txt|10|3|3|0|");
    EXPECT_EQ(saved(hashOf(4)), "new.bin|0|0|0|0|" + aich);
    EXPECT_EQ(pasteKF(repair, {"ed2k://|file|new.bin|5|" + hashOf(4) + "|/"}), 1u);
    EXPECT_EQ(saved(hashOf(4)), "new.bin|5|0|0|0|");
    std::size_t index = 0;
    ASSERT_TRUE(knownMet.list()->findByHash(hashOf(2), index));
    EXPECT_EQ(knownMet.list()->name(index), "a b.txt");
}

TEST_F(Repair, ErroneousEntriesGoOnce) {
    writeKnownMet("known.met", {{"", hashOf(1), 0, 0, 0, 10},
                                {"zero.txt", std::string(32, '0'), 0, 0, 0, 10},
                                {"good.txt", hashOf(2), 0, 0, 0, 10}});
    tRepairOptions options;
    options.deleteErroneous = true;
    EXPECT_EQ(repairKnownMet(loaded(), options).deleted, 2u);
    EXPECT_EQ(knownMet.list()->count(), 1u);
    EXPECT_EQ(readBytes(knownMetPath), knownMetOf({{"good.txt", hashOf(2), 0, 0, 0, 10}}));
    EXPECT_FALSE(repairKnownMet(loaded(), options).any());
}

TEST_F(Repair, ALogThatCannotBeRewrittenLeavesEveryFileAsItWas) {
    writeKnownMet("known.met", {{"a.txt", hashOf(1), 1, 1, 0, 10}});
    writeLog(hashOf(1), {{5, 50}, {1, 10}});
    writeLog(hashOf(2), {{5, 50}, {1, 10}});
    const std::vector<std::uint8_t> knownBefore = readBytes(knownMetPath);
    const std::vector<std::uint8_t> logBefore = logBytes(hashOf(1));
    const std::size_t entries = dir.entryCount();

    tRepairContext& context = loaded();
    // Another reader keeps the second log from being replaced.
    LockedFile reader(dir.file(hashOf(2) + ".pln_on"), LockedFile::Access::Read);
    EXPECT_EQ(errorOf([&] { repairKM(context, true); }), logsNotUpdatedMessage);
    EXPECT_EQ(readBytes(knownMetPath), knownBefore);
    EXPECT_EQ(logBytes(hashOf(1)), logBefore);
    EXPECT_EQ(logBytes(hashOf(2)), logBefore);
    EXPECT_EQ(dir.entryCount(), entries);
    EXPECT_EQ(prompter.errors().size(), 1u);
}

} // namespace
} // namespace pln
