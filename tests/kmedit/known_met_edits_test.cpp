#include "common/byte_writer.h"
#include "emulefiles/core/known_met_codec.h"
#include "emulefiles/known_met_bytes.h"
#include "kmedit/core/known_met_edits.h"
#include "logstore/core/log_codec.h"
#include "logstore/core/log_names.h"
#include "logstore/core/recorder_link.h"
#include "platform/fake_platform.h"
#include "platform/posix/posix_file_system.h"
#include "support/error_text.h"
#include "support/file_size_limit.h"
#include "support/recording_prompter.h"
#include "support/temp_dir.h"

#include <filesystem>
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
        tKnownMetList list;
        // Long names make known.met far larger than cancelled.met.
        for (int n = 1; n <= 5; ++n)
            list.append(
                "f" + std::to_string(n),
                tKnownMetRecord::createFromValues("f" + std::to_string(n) + std::string(300, 'x'),
                                                  hashText(n), 0, 0, 0, 10, ""));
        ByteWriter out;
        writeKnownMet(list, out);
        dir.write("known.met", out.buffer());
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

    std::string error;
    withFileSizeLimit(1024, [&] {
        error = errorOf([&] { forgetKnownFiles(knownMet, {hashText(1)}, {&cancelled, &logs}); });
    });

    EXPECT_EQ(error.rfind("An error occurred while saving known.met: Cannot write \"" +
                              dir.file("known.met") +
                              "\": File too large\r\n"
                              "cancelled.met has been saved",
                          0),
              0u)
        << error;
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
    withFileSizeLimit(10, [&] {
        error = errorOf([&] { forgetKnownFiles(knownMet, {hashText(2)}, {&cancelled, &logs}); });
    });
    EXPECT_EQ(error, "An error occurred while saving cancelled.met: Cannot write \"" +
                         dir.file("cancelled.met") + "\": File too large");
    EXPECT_EQ(readBytes(dir.file("cancelled.met")), cancelledBefore);
    EXPECT_EQ(readBytes(dir.file("known.met")), knownBefore);
    EXPECT_TRUE(knownMet.isUnchanged()) << "known.met in memory was not touched";
}

} // namespace
} // namespace pln
