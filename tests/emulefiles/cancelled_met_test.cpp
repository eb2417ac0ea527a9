#include "common/byte_writer.h"
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

    // A file that fails to load names itself: the known.met file test's.
    static std::string loadError(const Bytes& bytes) {
        return errorOf([&] { readCancelledMet(bytes); });
    }
    tCancelledMet loaded(const Bytes& bytes) {
        dir.write("cancelled.met", bytes);
        tCancelledMet met(path, fs);
        met.load();
        return met;
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

// A zero seed is replaced before the first salting; the seed stays with the
// file. The digest of a known seed is the cancelled command's test.
TEST_F(CancelledMetTest, AddsSaltedDigestsOnceInHashOrder) {
    for (const std::string seed : {"78563412", "00000000"}) {
        tCancelledMet met = loaded(hex("0F 01" + seed + "00000000"));
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
        saved.u32(2);
        for (const auto& record : *met.list()) {
            record.hash.writeToStream(saved);
            saved.u8(0);
        }
        EXPECT_EQ(readBytes(path), saved.buffer());
    }

    tCancelledMet plain = loaded(hex("0E 00000000"));
    plain.addHash(sequentialHash);
    ASSERT_EQ(plain.list()->count(), 1u);
    EXPECT_EQ((*plain.list())[0].hash, tHash::create(sequentialHash));
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

// How loads fail is the known.met file test's, for both files.
TEST_F(CancelledMetTest, AFailedSaveLeavesTheFileAlone) {
    tCancelledMet met = loaded(hex("0E 00000000"));
    met.addHash(hashOf(4).toString());
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(errorOf([&] { met.save(); }),
              "An error occurred while saving cancelled.met: Cannot write \"" + path +
                  "\": " + test::folderAsFileText());
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(dir.entryCount(), 1u);
}

} // namespace
} // namespace pln
