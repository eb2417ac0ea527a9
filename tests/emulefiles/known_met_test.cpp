#include "emulefiles/core/dat_text_reader.h"
#include "emulefiles/core/shared_data.h"
#include "emulefiles/core/windows_path.h"
#include "emulefiles_prelude.h"

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

constexpr const char* sequentialHash = "000102030405060708090a0b0c0d0e0f";
// Version, sub-version and seed of a salted file.
const std::string saltedHead = "0F 01 78563412";

class MetFiles : public testing::Test {
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
    // Whether a reload is due, whether the list still matches the disk, and
    // the stamp last read or saved.
    static std::string state(tKnownMet& km) {
        return std::string(km.needsReload() ? "reload" : "current") +
               (km.isUnchanged() ? ", unchanged, " : ", changed, ") +
               (km.fileAge() ? std::to_string(*km.fileAge()) : "no age");
    }

    tCancelledMet cancelledFrom(const Bytes& bytes) {
        files.stamps[dir.write("cancelled.met", bytes)] = 1000;
        tCancelledMet met(cancelledPath, files);
        met.load();
        return met;
    }

    TempDir dir;
    std::string path, cancelledPath = dir.file("cancelled.met");
    StampSequence files;
    FakeClock clock;
};

TEST_F(MetFiles, FailedLoadsLeaveNoListAndUnreadFilesAreNotSaved) {
    tKnownMet km(path, files, clock);
    tCancelledMet cm = cancelledFrom(hex("0E 00000000"));
    expectFailedLoads(km, "known.met");
    expectFailedLoads(cm, "cancelled.met");
    EXPECT_EQ(state(km), "reload, changed, no age");
}

TEST_F(MetFiles, LoadAndSaveKeepHashOrderAndRefreshStampAndVersion) {
    tKnownMet km(path, files, clock);
    EXPECT_EQ(km.list(), nullptr);
    EXPECT_EQ(state(km), "reload, changed, no age");
    km.load();
    EXPECT_EQ(state(km), "current, unchanged, 1000000");
    EXPECT_EQ(km.list()->name(0), "日本.mkv");
    EXPECT_EQ(km.version(), 0x0E);
    km.list()->record(0).setFileSize(0x100000000ull);
    files.stamps[path] = 2'000'000;
    EXPECT_EQ(state(km), "reload, changed, 1000000");
    km.save();
    EXPECT_EQ(km.version(), 0x0F);
    EXPECT_EQ(state(km), "current, unchanged, 2000000");

    ByteWriter expected;
    fileHead(expected, 2, 0x0F);
    recordHead(expected, 1'600'000'000, hashOf(1), 0, 3);
    idString(expected, 0x01, utf8Bom + "日本.mkv");
    expected.bytes(hex("0B 0100 02 0000000001000000 03 0100 51 01000000"));
    simpleRecord(expected, hashOf(9), "Z\xFCrich.avi", 900, 9);
    EXPECT_EQ(readBytes(path), expected.buffer());
}

TEST_F(MetFiles, FailedSaveLeavesTheFileIntact) {
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
    EXPECT_EQ(state(km), "reload, changed, no age");
}

TEST_F(MetFiles, CancelledSavesSortedByHashWithTagsInTheLongForm) {
    // What is stored and what is saved again, when that differs.
    const std::tuple<const char*, std::string, std::string> rows[] = {
        {"Plain",
         "0E 02000000" + hashHex(1) + "00" + hashHex(2) +
             "02 02 0100 01 0400 6E616D65 03 0600 637573746F6D 4D000000",
         ""},
        {"Salted", saltedHead + "01000000" + hashHex(5) + "00", ""},
        {"SaltedEmpty", saltedHead + "00000000", ""},
        // The high half is signed: byte 15 = 0x80 sorts first.
        {"SortedAndNormalised",
         "0E 02000000" + hashHex(1) + "03 89 51 C8 85 30 01 93 01 616263" + hashHex(2, 0x80) + "00",
         "0E 02000000" + hashHex(2, 0x80) + "00" + hashHex(1) +
             "02 03 0100 51 C8000000 02 0100 01 0300 616263"},
    };
    for (const auto& [name, stored, saved] : rows) {
        cancelledFrom(hex(stored)).save();
        EXPECT_EQ(readBytes(cancelledPath), hex(saved.empty() ? stored : saved)) << name;
    }
    EXPECT_EQ(cancelledFrom(hex(saltedHead + "00000000")).seed(), 0x12345678u);
}

// A zero seed is replaced before the first salting; the seed stays with the file.
TEST_F(MetFiles, CancelledAddsSaltedDigestsOnceInHashOrder) {
    for (const std::string seed : {"78563412", "00000000"}) {
        tCancelledMet met = cancelledFrom(hex("0F 01" + seed + "00000000"));
        met.addHash(sequentialHash);
        met.addHash("000102030405060708090A0B0C0D0E0F");
        met.addHash(hashOf(0x11).toString());
        ASSERT_NE(met.seed(), 0u);
        ASSERT_EQ(met.list()->count(), 2u);
        std::size_t index = 0;
        for (const tHash& hash : {tHash::create(sequentialHash), hashOf(0x11)})
            EXPECT_TRUE(met.list()->findByHash(saltedHash(met.seed(), hash), index));
        EXPECT_LT((*met.list())[0].hash.compare((*met.list())[1].hash), 0);
        met.save();
        ByteWriter saved;
        saved.bytes(hex("0F 01"));
        saved.u32(met.seed());
        saved.bytes(hex("02000000" + (*met.list())[0].hash.toString() + "00" +
                        (*met.list())[1].hash.toString() + "00"));
        EXPECT_EQ(readBytes(cancelledPath), saved.buffer());
    }
}

TEST_F(MetFiles, CancelledHostileFilesFailCleanly) {
    const std::string eof = "Unexpected end of file", version = "Unexpected cancelled.met version";
    const std::pair<std::string, std::string> rows[] = {
        {"10 00000000", version},
        {"0F 02 00000000 00000000", version},
        {"", eof},
        {"0E FFFFFFFF", eof},
        {"0E 01000000" + hashHex(1) + "01 07 0100 40 E8030000 00000000", "Invalid tag"},
    };
    auto loadError = [](const Bytes& bytes) { return errorOf([&] { readCancelledMet(bytes); }); };
    for (const auto& [stored, error] : rows)
        EXPECT_EQ(loadError(hex(stored)), error) << stored;

    const Bytes valid = hex(saltedHead + "02000000" + hashHex(1) + "01 02 0100 01 0400 6E616D65" +
                            hashHex(2) + "00");
    for (std::size_t n = 0; n < valid.size(); ++n)
        EXPECT_NE(loadError({valid.begin(), valid.begin() + static_cast<long>(n)}), "no error")
            << n;
}

TEST_F(MetFiles, CancelledAFailedSaveLeavesTheFileAlone) {
    tCancelledMet met = cancelledFrom(hex("0E 00000000"));
    met.addHash(hashOf(4).toString());
    EXPECT_EQ((*met.list())[0].hash, hashOf(4)) << "an unsalted file keeps the hash itself";
    std::filesystem::remove(cancelledPath);
    std::filesystem::create_directory(cancelledPath);
    EXPECT_EQ(errorOf([&] { met.save(); }),
              "An error occurred while saving cancelled.met: Cannot write \"" + cancelledPath +
                  "\": " + folderAsFileText());
    EXPECT_TRUE(std::filesystem::is_directory(cancelledPath));
    EXPECT_EQ(dir.entryCount(), 2u);
}

#ifndef _WIN32
// Both files are saved through a link, which stays a link.
TEST_F(MetFiles, ALinkedFileIsSavedThroughToItsTarget) {
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

constexpr std::uint32_t knownDate = 1'600'000'000;

tSharedData writtenAt(std::int64_t msAfterKnown, std::int64_t extraNs = 0) {
    tSharedData d;
    d.lastWriteTime =
        (static_cast<std::int64_t>(knownDate) * 1000 + msAfterKnown) * 1'000'000 + extraNs;
    return d;
}

tSharedFile file(std::string name, std::uint64_t size, std::int64_t msAfter) {
    tSharedData d = writtenAt(msAfter);
    d.size = size;
    return {std::move(name), d};
}

TEST(SharedFileTable, FindMatchesNameSizeAndADateOffByWholeHoursUpToSix) {
    // The shared file written so many milliseconds and nanoseconds after the
    // known date, and whether the dates match.
    const std::tuple<const char*, std::int64_t, std::int64_t, bool> rows[] = {
        {"Exact", 0, 0, true},
        {"Plus400ms", 400, 0, true},
        {"PlusOneSecondExactly", 1000, 0, false},
        {"MinusOneSecondExactlyIsShiftedInside", -1000, 0, true},
        {"Plus2h400ms", 7'200'400, 0, true},
        {"Plus2h1s400ms", 7'201'400, 0, false},
        {"Minus3599s600ms", -3'599'600, 0, false},
        {"MinusOneHourExactlyIsShiftedOutside", -3'600'000, 0, false},
        {"MinusOneHour400ms", -3'600'400, 0, true},
        {"PlusSixHours", 21'600'000, 0, true},
        {"MinusSixHours500ms", -21'600'500, 0, true},
        {"PlusSevenHours", 25'200'000, 0, false},
        {"PlusHalfHour", 1'800'000, 0, false},
        // Parts below the millisecond are dropped before the shift.
        {"Plus999999ns", 0, 999'999, true},
        {"Plus1s500us", 1000, 500'000, false},
        {"Plus999ms999999ns", 999, 999'999, true},
    };
    for (const auto& [name, ms, ns, matches] : rows)
        EXPECT_EQ(sameFileDate(knownDate, writtenAt(ms, ns)), matches) << name;

    tSharedFileTable table;
    table.assign({file("alpha.bin", 10, 0), file("Beta.bin", 5'000'000'000, 3'600'000),
                  file("gamma.bin", 30, 0), file("Ärger.mp3", 40, 0)});
    EXPECT_EQ(findSharedFile(table, "BETA.BIN", 5'000'000'000, knownDate), 1);
    EXPECT_EQ(findSharedFile(table, "ärger.MP3", 40, knownDate), 3);
    EXPECT_EQ(findSharedFile(table, "alpha.bin", 10, knownDate), 0);
    EXPECT_EQ(findSharedFile(table, "beta.bin", 5'000'000'001, knownDate), -1);
    EXPECT_EQ(findSharedFile(table, "beta.bin", 5'000'000'000, knownDate + 1), -1);
    EXPECT_EQ(findSharedFile(table, "delta.bin", 10, knownDate), -1);
    EXPECT_EQ(findSharedFile(table, "", 10, knownDate), -1);
    EXPECT_EQ(findSharedFile(tSharedFileTable(), "alpha.bin", 10, knownDate), -1);
}

TEST(WindowsPath, TrailingDelimiterFollowsThePathsOwnForm) {
    EXPECT_EQ(withTrailingDelimiter("C:\\Share", '/'), "C:\\Share\\");
    EXPECT_EQ(withTrailingDelimiter("C:", '/'), "C:\\");
    EXPECT_EQ(withTrailingDelimiter("/home/u/share", '/'), "/home/u/share/");
    EXPECT_EQ(withTrailingDelimiter("share", '\\'), "share\\");
    EXPECT_EQ(withTrailingDelimiter("/home/", '/'), "/home/");
    EXPECT_EQ(comparePaths("C:\\Share\\A.TXT", "c:/share/a.txt"), 0);
}

TEST(DatText, DecodesUtf16OrEightBitUpToTheFirstZeroAndReadsStableFilesOnly) {
    const std::pair<std::string_view, std::string_view> rows[] = {
        {"FFFE 4300 3A00 5C00 E900 0D00 0A00 4400 3A00 5C00 3BD8 00DF 0000 7800",
         "C:\\\xC3\xA9\r\nD:\\\xF0\x9E\xBC\x80"},
        {"433A5CE9 0D0A 443A5C78 00 67617262616765", "C:\\\xC3\xA9\r\nD:\\x"},
        {"EFBBBF 433A5C C3A9", "C:\\\xC3\xA9"},
        {"FFFE 4100 42", "A"},
        {"FFFE", ""},
    };
    for (const auto& [stored, text] : rows)
        EXPECT_EQ(decodeDatText(hex(stored)), text) << stored;

    TempDir dir;
    StampSequence fs;
    auto read = [&](const std::string& path, std::deque<std::optional<FileStamp>> stamps) {
        fs.files.insert(path);
        fs.next = std::move(stamps);
        return readDatText(fs, path);
    };
    std::string path = dir.write("shareddir.dat", "C:\\A\r\nC:\\B\r\n");
    tDatText good = read(path, {5000, 5000});
    EXPECT_TRUE(good.ok);
    EXPECT_EQ(good.text, "C:\\A\r\nC:\\B\r\n");
    EXPECT_EQ(good.stamp, 5000);

    tDatText changed = read(path, {5000, 5001});
    EXPECT_FALSE(changed.ok);
    EXPECT_EQ(changed.text, "");
    EXPECT_EQ(changed.error,
              "The \"" + path + "\" file has been modified while trying to read it.");

    std::string huge = dir.write("huge.dat", "x");
    std::filesystem::resize_file(huge, maxDatFileSize + 1);
    EXPECT_EQ(read(huge, {1, 1}).error,
              "The \"" + huge + "\" file is too large to be a list of paths.");
}

} // namespace
} // namespace pln
