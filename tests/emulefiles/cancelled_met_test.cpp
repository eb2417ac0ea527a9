#include "emulefiles/core/cancelled_met.h"
#include "known_met_bytes.h"
#include "stamp_sequence.h"
#include "support/error_text.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pln {
namespace {

using namespace test;

constexpr const char* sequentialHash = "000102030405060708090a0b0c0d0e0f";
// Version, sub-version and seed of a salted file.
const std::string saltedHead = "0F 01 78563412";

class CancelledMetTest : public testing::Test {
protected:
    CancelledMetTest() { fs.stamps[path] = 1000; }

    tCancelledMet loaded(const Bytes& bytes) {
        dir.write("cancelled.met", bytes);
        tCancelledMet met(path, fs);
        met.load();
        return met;
    }

    // The reason a load fails, after checking that no list is left and that
    // the message names the file.
    std::string loadError(const Bytes& bytes) {
        dir.write("cancelled.met", bytes);
        tCancelledMet met(path, fs);
        std::string error = errorOf([&] { met.load(); });
        EXPECT_EQ(met.list(), nullptr);
        const std::string named = "Cannot read \"" + path + "\": ";
        EXPECT_EQ(error.substr(0, named.size()), named) << "the message names the file";
        return error.substr(std::min(named.size(), error.size()));
    }

    TempDir dir;
    std::string path = dir.file("cancelled.met");
    StampSequence fs;
};

TEST_F(CancelledMetTest, SavesSortedByHashWithTagsInTheLongForm) {
    const struct {
        const char* name;
        std::string stored;
        std::string saved = {}; // empty: the stored bytes
    } rows[] = {
        {"Plain", "0E 02000000" + hashHex(1) + "00" + hashHex(2) +
                      "02 02 0100 01 0400 6E616D65 03 0600 637573746F6D 4D000000"},
        {"Salted", saltedHead + "01000000" + hashHex(5) + "00"},
        {"SaltedEmpty", saltedHead + "00000000"},
        // The high half is signed: byte 15 = 0x80 sorts first.
        {"SortedAndNormalised",
         "0E 02000000" + hashHex(1) + "03 89 51 C8 85 30 01 93 01 616263" + hashHex(2, 0x80) + "00",
         "0E 02000000" + hashHex(2, 0x80) + "00" + hashHex(1) +
             "02 03 0100 51 C8000000 02 0100 01 0300 616263"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        loaded(hex(row.stored)).save();
        EXPECT_EQ(readBytes(path), hex(row.saved.empty() ? row.stored : row.saved));
    }
    EXPECT_EQ(loaded(hex(saltedHead + "00000000")).seed(), 0x12345678u);
}

TEST_F(CancelledMetTest, AddsSaltedDigestsOnceInHashOrder) {
    tCancelledMet met = loaded(hex(saltedHead + "00000000"));
    met.addHash(sequentialHash);
    met.addHash("000102030405060708090A0B0C0D0E0F");
    met.addHash(hashOf(0x11).toString());
    ASSERT_EQ(met.list()->count(), 2u);
    std::size_t index = 0;
    EXPECT_TRUE(met.list()->findByHash(tHash::create("FCB6A4778A74CAE9990CDDE45E33182B"), index));
    EXPECT_TRUE(met.list()->findByHash(saltedHash(0x12345678, hashOf(0x11)), index));
    met.save();
    const std::string first = " " + (*met.list())[0].hash.toString() + " ";
    const std::string second = " " + (*met.list())[1].hash.toString() + " ";
    EXPECT_EQ(readBytes(path), hex(saltedHead + "02000000" + first + "00" + second + "00"));
    EXPECT_LT((*met.list())[0].hash.compare((*met.list())[1].hash), 0);

    tCancelledMet plain = loaded(hex("0E 00000000"));
    plain.addHash(sequentialHash);
    ASSERT_EQ(plain.list()->count(), 1u);
    EXPECT_EQ((*plain.list())[0].hash, tHash::create(sequentialHash));
    EXPECT_EQ(errorOf([&] { plain.addHash("00112233"); }), "Invalid hash");
}

TEST_F(CancelledMetTest, AZeroSeedIsReplacedBeforeTheFirstSalting) {
    tCancelledMet met = loaded(hex("0F 01 00000000 00000000"));
    met.addHash(sequentialHash);
    std::uint32_t seed = met.seed();
    ASSERT_NE(seed, 0u);
    EXPECT_EQ((*met.list())[0].hash, saltedHash(seed, tHash::create(sequentialHash)));
    met.addHash(hashOf(3).toString());
    EXPECT_EQ(met.seed(), seed);
    met.save();
    EXPECT_EQ(loaded(readBytes(path)).seed(), seed);
}

TEST_F(CancelledMetTest, HostileFilesFailCleanly) {
    const std::string eof = "Unexpected end of file", version = "Unexpected cancelled.met version";
    const struct {
        std::string stored;
        std::string error;
    } rows[] = {
        {"10 00000000", version},
        {"0F 02 00000000 00000000", version},
        {"", eof},
        {"0E FFFFFFFF", eof},
        {"0E 01000000" + hashHex(1) + "01 07 0100 40 E8030000 00000000", "Invalid tag"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(loadError(hex(row.stored)), row.error) << row.stored;

    const Bytes valid = hex(saltedHead + "02000000" + hashHex(1) + "01 02 0100 01 0400 6E616D65" +
                            hashHex(2) + "00");
    for (std::size_t n = 0; n < valid.size(); ++n)
        EXPECT_NE(loadError({valid.begin(), valid.begin() + static_cast<long>(n)}), "no error")
            << n;
}

TEST_F(CancelledMetTest, ReadAndSaveFailuresLeaveTheFileAlone) {
    tCancelledMet missing(dir.file("none.met"), fs);
    EXPECT_EQ(errorOf([&] { missing.load(); }),
              "Cannot open \"" + dir.file("none.met") + "\": " + test::missingFileText());
    EXPECT_EQ(errorOf([&] { missing.save(); }),
              "An error occurred while saving cancelled.met: cancelled.met has not been read");

    const Bytes empty = hex("0E 00000000");
    dir.write("cancelled.met", empty);
    fs.next = {1000, 1001};
    tCancelledMet changing(path, fs);
    EXPECT_EQ(errorOf([&] { changing.load(); }),
              "The \"" + path + "\" file has been modified while trying to read it.");
    EXPECT_EQ(changing.list(), nullptr);
    std::filesystem::resize_file(path, maxMetFileSize + 1);
    EXPECT_EQ(errorOf([&] { tCancelledMet(path, fs).load(); }),
              "Cannot read \"" + path + "\": The file is larger than 1024 MiB");

    tCancelledMet met = loaded(empty);
    met.addHash(hashOf(4).toString());
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(errorOf([&] { met.save(); }),
              "An error occurred while saving cancelled.met: Cannot write \"" + path +
                  "\": " + test::folderAsFileText());
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(dir.entryCount(), 1u);
}

#ifndef _WIN32
TEST_F(CancelledMetTest, ALinkedFileIsSavedThroughToItsTarget) {
    const std::string real = dir.mkdir("eMule");
    std::filesystem::create_symlink("eMule/cancelled.met", path);
    tCancelledMet met = loaded(hex("0E 00000000"));
    met.addHash(hashOf(4).toString());
    met.save();
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(readBytes(real + "cancelled.met"), hex("0E 01000000" + hashHex(4) + "00"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(real), {}), 1);
}
#endif

} // namespace
} // namespace pln
