#include "common/byte_writer.h"
#include "emulefiles/core/known_met_codec.h"
#include "kmedit/core/repair_km.h"
#include "logstore/log_fixture.h"
#include "platform/fake_platform.h"
#include "platform/locked_file.h"
#include "platform/posix/posix_file_system.h"
#include "support/error_text.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

using namespace test;

constexpr std::string_view hashA = "0123456789ABCDEF0123456789ABCDEF";
constexpr std::string_view hashB = "FEDCBA9876543210FEDCBA9876543210";
constexpr std::string_view hashC = "00112233445566778899AABBCCDDEEFF";
constexpr std::string_view hashD = "FFEEDDCCBBAA99887766554433221100";
constexpr std::string_view zeroHash = "00000000000000000000000000000000";
constexpr std::string_view aich = "ZYXWVUTSRQPONMLKJIHGFEDCBA234567";

struct Counters {
    std::uint32_t requests;
    std::uint64_t transferred;
};

// A record of known.met: name, hash, transferred, requested and size.
struct Known {
    std::string_view name, hash;
    std::uint64_t transferred = 0;
    std::uint32_t requested = 0;
    std::uint64_t size = 0;
};

class Repair : public testing::Test {
protected:
    Repair() {
        clock.nowMs = 4'000'000'000'000;
        knownMetPath = writeKnownMet("known.met", {});
    }

    std::string writeKnownMet(std::string_view file, std::initializer_list<Known> records) {
        tKnownMetList list;
        for (const Known& k : records)
            list.append(std::string(k.name),
                        tKnownMetRecord::createFromValues(k.name, k.hash, k.transferred,
                                                          k.requested, 0, k.size, {}));
        list.sortByHash();
        ByteWriter out;
        pln::writeKnownMet(list, out);
        return dir.write("config/" + std::string(file), out.buffer());
    }

    void writeLog(std::string_view hash, const std::vector<Counters>& values) {
        LogBytes bytes;
        bytes.prefix(0);
        std::uint32_t minute = 0;
        for (const Counters& v : values)
            bytes.knownFileRecord(dos(2024, 1, 1, 0, minute++), v.requests, v.requests,
                                  v.transferred);
        dir.write(std::string(hash) + ".pln_on", bytes.bytes());
    }

    std::vector<std::uint64_t> loggedTransfers(std::string_view hash) {
        std::vector<std::uint8_t> bytes = readBytes(dir.file(std::string(hash) + ".pln_on"));
        tLogRecords records(std::span<const std::uint8_t>(bytes).subspan(logPrefixSize),
                            valueTypeKnownFile);
        std::vector<std::uint64_t> values;
        for (std::size_t i = 0; i < records.count(); ++i)
            values.push_back(records.knownFileValues(i).transferred);
        return values;
    }

    tRepairContext& loaded() {
        knownMet.load();
        logs.scanLogs();
        return repair;
    }

    // What the file on disk holds now.
    const tKnownMetRecord* saved(std::string_view hash) {
        tKnownMet onDisk(knownMetPath, files, clock);
        onDisk.load();
        std::size_t index = 0;
        if (!onDisk.list()->findByHash(hash, index))
            return nullptr;
        savedRecords.push_back(onDisk.list()->extract(index));
        return savedRecords.back().get();
    }

    TempDir dir;
    std::string configFolder = dir.mkdir("config");
    std::string knownMetPath;
    PosixFileSystem files;
    FakeClock clock;
    RecordingPrompter prompter;
    RecordingRecorderLink recorder;
    tLogFiles logs{tLogStoreContext{dir.path(), prompter, recorder}};
    tKnownMet knownMet{configFolder + "known.met", files, clock};
    tRepairContext repair{knownMet, logs, files, clock};
    std::vector<std::unique_ptr<tKnownMetRecord>> savedRecords;
};

TEST_F(Repair, LogsAddTheirCountersAndUndoRestarts) {
    knownMetPath = writeKnownMet("known.met", {{"kept.avi", hashB, 5, 1, 700}});
    writeLog(hashA, {{1, 10}, {2, 20}, {0, 5}, {1, 15}, {0, 3}, {1, 8}});
    writeLog(hashB, {{1, 50}, {3, 100}});
    const std::vector<std::uint8_t> logA = readBytes(dir.file(std::string(hashA) + ".pln_on"));
    const std::vector<std::uint8_t> logB = readBytes(dir.file(std::string(hashB) + ".pln_on"));

    EXPECT_EQ(repairKM(loaded(), false).repaired, 1u);
    EXPECT_EQ(saved(hashA), nullptr);
    EXPECT_EQ(readBytes(dir.file(std::string(hashA) + ".pln_on")), logA);
    EXPECT_EQ(saved(hashB)->getTransferred(), 105u);
    EXPECT_EQ(saved(hashB)->getRequested(), 4u);
    EXPECT_EQ(readBytes(dir.file(std::string(hashB) + ".pln_on")), logB);

    EXPECT_EQ(repairKM(loaded(), true).restored, 1u);
    const tKnownMetRecord* restored = saved(hashA);
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->getFileName(), unknownFileName);
    EXPECT_EQ(restored->getFileSize(), 0u);
    EXPECT_EQ(restored->getTransferred(), 43u);
    EXPECT_EQ(restored->getRequested(), 4u);
    EXPECT_EQ(restored->getAccepted(), 4u);
    EXPECT_EQ(loggedTransfers(hashA), (std::vector<std::uint64_t>{10, 20, 25, 35, 38, 43}));
    // The counters now hold what the logs hold: nothing more to add.
    EXPECT_EQ(saved(hashB)->getTransferred(), 105u);
    EXPECT_FALSE(repairKM(loaded(), true).any());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(Repair, RestoredFilesAreCompletedByABackupAndByLinks) {
    writeLog(hashA, {{7, 70}});
    writeLog(hashB, {{8, 80}});
    EXPECT_EQ(repairKM(loaded(), true).restored, 2u);

    const std::string backupPath = writeKnownMet(
        "known.~met", {{"movie.avi", hashA, 1, 1, 700}, {"other.txt", hashC, 3, 3, 10}});
    EXPECT_EQ(errorOf([&] { importMissingKF(repair, configFolder + "KNOWN.MET"); }),
              notABackupMessage);
    EXPECT_EQ(importMissingKF(repair, backupPath), 2u);
    EXPECT_EQ(saved(hashA)->getFileName(), "movie.avi");
    EXPECT_EQ(saved(hashA)->getFileSize(), 700u);
    EXPECT_EQ(saved(hashA)->getTransferred(), 70u);
    EXPECT_EQ(saved(hashA)->getRequested(), 7u);
    EXPECT_EQ(saved(hashC)->getFileName(), "other.txt");
    EXPECT_EQ(importMissingKF(repair, backupPath), 0u);

    const std::string tail = std::string("|h=") + std::string(aich) + "|/";
    EXPECT_EQ(pasteKF(repair, {"ed2k://|file|a%20b.txt|123|" + std::string(hashB) + tail,
                               "ed2k://|file|renamed.txt|99|" + std::string(hashC) + "|/",
                               "ed2k://|file|new.bin|0|" + std::string(hashD) + tail}),
              2u);
    const tKnownMetRecord* linked = saved(hashB);
    EXPECT_EQ(linked->getFileName(), "a b.txt");
    EXPECT_EQ(linked->getFileSize(), 123u);
    EXPECT_EQ(linked->getAichHash(), aich);
    EXPECT_EQ(linked->getTransferred(), 80u);
    EXPECT_EQ(saved(hashC)->getFileName(), "other.txt");
    EXPECT_EQ(saved(hashD)->getFileName(), "new.bin");
    EXPECT_EQ(saved(hashD)->getAichHash(), aich);
    EXPECT_EQ(pasteKF(repair, {"ed2k://|file|new.bin|5|" + std::string(hashD) + "|/"}), 1u);
    EXPECT_EQ(saved(hashD)->getAichHash(), "");
    std::size_t index = 0;
    ASSERT_TRUE(knownMet.list()->findByHash(hashB, index));
    EXPECT_EQ(knownMet.list()->name(index), "a b.txt");
}

TEST_F(Repair, ErroneousEntriesGoAndAFailureStopsTheLaterOperations) {
    knownMetPath = writeKnownMet(
        "known.met",
        {{"", hashA, 0, 0, 10}, {"zero.txt", zeroHash, 0, 0, 10}, {"good.txt", hashB, 0, 0, 10}});
    const std::vector<std::uint8_t> before = readBytes(knownMetPath);

    tRepairOptions options;
    options.backupPath = configFolder + "missing.~met";
    options.deleteErroneous = true;
    EXPECT_NE(errorOf([&] { repairKnownMet(loaded(), options); }), "no error");
    EXPECT_EQ(readBytes(knownMetPath), before);

    options.backupPath.clear();
    EXPECT_EQ(repairKnownMet(loaded(), options).deleted, 2u);
    EXPECT_EQ(knownMet.list()->count(), 1u);
    EXPECT_NE(saved(hashB), nullptr);
    EXPECT_EQ(saved(hashA), nullptr);
    EXPECT_FALSE(repairKnownMet(loaded(), options).any());
}

TEST_F(Repair, ALogThatCannotBeRewrittenLeavesEveryFileAsItWas) {
    knownMetPath = writeKnownMet("known.met", {{"a.txt", hashA, 1, 1, 10}});
    writeLog(hashA, {{5, 50}, {1, 10}});
    writeLog(hashB, {{5, 50}, {1, 10}});
    const std::vector<std::uint8_t> knownBefore = readBytes(knownMetPath);
    const std::vector<std::uint8_t> logBefore = readBytes(dir.file(std::string(hashA) + ".pln_on"));
    const std::size_t entries = dir.entryCount();

    tRepairContext& context = loaded();
    // Another reader keeps the second log from being replaced.
    LockedFile reader(dir.file(std::string(hashB) + ".pln_on"), LockedFile::Access::Read);
    EXPECT_EQ(errorOf([&] { repairKM(context, true); }), logsNotUpdatedMessage);
    EXPECT_EQ(readBytes(knownMetPath), knownBefore);
    EXPECT_EQ(readBytes(dir.file(std::string(hashA) + ".pln_on")), logBefore);
    EXPECT_EQ(readBytes(dir.file(std::string(hashB) + ".pln_on")), logBefore);
    EXPECT_EQ(dir.entryCount(), entries);
    EXPECT_EQ(prompter.errors().size(), 1u);
}

} // namespace
} // namespace pln
