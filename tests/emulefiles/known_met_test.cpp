#include "common/byte_writer.h"
#include "emulefiles/core/cancelled_met.h"
#include "emulefiles/core/known_met.h"
#include "known_met_bytes.h"
#include "stamp_sequence.h"
#include "support/error_text.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pln {
namespace {

using namespace test;

std::vector<std::uint8_t> twoRecords() {
    ByteWriter w;
    fileHead(w, 2);
    simpleRecord(w, hashOf(9), "Z\xFCrich.avi", 900, 9);
    simpleRecord(w, hashOf(1), utf8Bom + "日本.mkv", 100, 1);
    return w.take();
}

class KnownMetFile : public testing::Test {
protected:
    void SetUp() override {
        path = dir.write("known.met", twoRecords());
        files.stamps[path] = 1'000'000;
        clock.nowMs = 5'000'000;
    }
    // Both files fail alike: changed while read, cut short, too large,
    // missing, saved unread. A failed load leaves no list.
    template <class Met> void expectFailedLoads(Met& met, const std::string& name) {
        const std::string file = dir.file(name);
        met.load();
        files.next = {1'000'000, 1'000'001};
        EXPECT_EQ(errorOf([&] { met.load(); }),
                  "The \"" + file + "\" file has been modified while trying to read it.");
        EXPECT_EQ(met.list(), nullptr);
        EXPECT_EQ(errorOf([&] { met.save(); }),
                  "An error occurred while saving " + name + ": " + name + " has not been read");
        dir.write(name, hex("0E 01000000"));
        EXPECT_EQ(errorOf([&] { met.load(); }),
                  "Cannot read \"" + file + "\": Unexpected end of file");
        // Sparse: nothing of it is read.
        std::filesystem::resize_file(file, maxMetFileSize + 1);
        EXPECT_EQ(errorOf([&] { met.load(); }),
                  "Cannot read \"" + file + "\": The file is larger than 1024 MiB");
        std::filesystem::remove(file);
        EXPECT_EQ(errorOf([&] { met.load(); }),
                  "Cannot open \"" + file + "\": " + missingFileText());
        EXPECT_EQ(met.list(), nullptr);
    }

    TempDir dir;
    std::string path;
    StampSequence files;
    FakeClock clock;
};

TEST_F(KnownMetFile, FailedLoadsLeaveNoListAndUnreadFilesAreNotSaved) {
    files.stamps[dir.write("cancelled.met", hex("0E 00000000"))] = 1'000'000;
    tKnownMet km(path, files, clock);
    tCancelledMet cm(dir.file("cancelled.met"), files);
    expectFailedLoads(km, "known.met");
    expectFailedLoads(cm, "cancelled.met");
    EXPECT_FALSE(km.fileAge());
    EXPECT_TRUE(km.needsReload());
}

// Where a change settles is the clock rule's own test.
TEST_F(KnownMetFile, LoadAndSaveKeepHashOrderAndRefreshStampAndVersion) {
    tKnownMet km(path, files, clock);
    EXPECT_EQ(km.list(), nullptr);
    EXPECT_FALSE(km.fileAge());
    EXPECT_TRUE(km.needsReload());
    EXPECT_FALSE(km.isUnchanged());
    km.load();
    EXPECT_FALSE(km.needsReload());
    EXPECT_TRUE(km.isUnchanged());
    EXPECT_EQ(km.list()->name(0), "日本.mkv");
    EXPECT_EQ(km.version(), 0x0E);
    EXPECT_EQ(km.fileAge(), 1'000'000);
    km.list()->record(0).setFileSize(0x100000000ull);
    files.stamps[path] = 2'000'000;
    EXPECT_TRUE(km.needsReload());
    EXPECT_FALSE(km.isUnchanged());
    km.save();
    EXPECT_EQ(km.version(), 0x0F);
    EXPECT_EQ(km.fileAge(), 2'000'000);
    EXPECT_TRUE(km.isUnchanged());

    ByteWriter expected;
    fileHead(expected, 2, 0x0F);
    recordHead(expected, 1'600'000'000, hashOf(1), 0, 3);
    idString(expected, 0x01, utf8Bom + "日本.mkv");
    expected.bytes(hex("0B 0100 02 0000000001000000 03 0100 51 01000000"));
    simpleRecord(expected, hashOf(9), "Z\xFCrich.avi", 900, 9);
    EXPECT_EQ(readBytes(path), expected.buffer());
}

TEST_F(KnownMetFile, FailedSaveLeavesTheFileIntact) {
    // A name that fits the folder while its temporary sibling does not.
    std::string longPath = dir.write(std::string(250, 'k'), twoRecords());
    files.stamps[longPath] = 1'000'000;
    tKnownMet km(longPath, files, clock);
    km.load();
    km.list()->record(0).setFileName("changed");
    // The system's reason differs: too long a name here, a path not found on Windows.
    EXPECT_THAT(errorOf([&] { km.save(); }),
                testing::MatchesRegex("An error occurred while saving known\\.met: .+"));
    EXPECT_EQ(readBytes(longPath), twoRecords());
    EXPECT_EQ(dir.entryCount(), 2u);
    // The list no longer matches the disk: edits are refused and a reload is due.
    EXPECT_FALSE(km.isUnchanged());
    EXPECT_TRUE(km.needsReload());
}

#ifndef _WIN32
// Both files are saved through a link, which stays a link.
TEST_F(KnownMetFile, ALinkedFileIsSavedThroughToItsTarget) {
    const std::string real = dir.mkdir("eMule");
    std::filesystem::rename(path, real + "known.met");
    dir.write("eMule/cancelled.met", hex("0E 00000000"));
    for (const char* name : {"known.met", "cancelled.met"})
        std::filesystem::create_symlink(std::string("eMule/") + name, dir.file(name));
    files.stamps[dir.file("cancelled.met")] = 1'000'000;
    tKnownMet km(path, files, clock);
    tCancelledMet cm(dir.file("cancelled.met"), files);
    km.load();
    cm.load();
    km.list()->record(0).setFileName("linked");
    cm.addHash(hashOf(4).toString());
    km.save();
    cm.save();
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("cancelled.met")));
    EXPECT_NE(readBytes(real + "known.met"), twoRecords());
    EXPECT_EQ(readBytes(real + "cancelled.met"), hex("0E 01000000" + hashHex(4) + "00"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(real), {}), 2);
}
#endif

} // namespace
} // namespace pln
