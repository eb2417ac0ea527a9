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

void saltedHead(ByteWriter& w, std::uint32_t seed, std::uint32_t count) {
    w.u8(0x0F);
    w.u8(1);
    w.u32(seed);
    w.u32(count);
}

class CancelledMetTest : public testing::Test {
protected:
    CancelledMetTest() { fs.stamps[path] = 1000; }

    tCancelledMet loaded(const std::vector<std::uint8_t>& bytes) {
        dir.write("cancelled.met", bytes);
        tCancelledMet met(path, fs);
        met.load();
        return met;
    }

    TempDir dir;
    std::string path = dir.file("cancelled.met");
    StampSequence fs;
};

TEST_F(CancelledMetTest, SavesBackTheBytesItRead) {
    ByteWriter plain;
    fileHead(plain, 2);
    hashOf(1).writeToStream(plain);
    plain.u8(0);
    hashOf(2).writeToStream(plain);
    plain.u8(2);
    idString(plain, 0x01, "name");
    textName(plain, 3, "custom");
    plain.u32(77);

    ByteWriter salted;
    saltedHead(salted, 0xCAFEBABE, 1);
    hashOf(5).writeToStream(salted);
    salted.u8(0);

    ByteWriter empty;
    saltedHead(empty, 7, 0);

    for (const auto* bytes : {&plain.buffer(), &salted.buffer(), &empty.buffer()}) {
        tCancelledMet met = loaded(*bytes);
        met.save();
        EXPECT_EQ(readBytes(path), *bytes);
    }
    EXPECT_EQ(loaded(salted.buffer()).seed(), 0xCAFEBABE);
}

TEST_F(CancelledMetTest, SavingSortsByHashAndNormalisesTags) {
    ByteWriter stored;
    fileHead(stored, 2);
    hashOf(2, 0x80).writeToStream(stored); // negative high half: sorts first
    stored.u8(0);
    hashOf(1).writeToStream(stored);
    stored.u8(3);
    flaggedName(stored, 9, 0x51);
    stored.u8(200);
    flaggedName(stored, 5, 0x30);
    stored.u8(1);
    flaggedName(stored, 0x13, 0x01);
    stored.text("abc");

    ByteWriter expected;
    fileHead(expected, 2);
    hashOf(2, 0x80).writeToStream(expected);
    expected.u8(0);
    hashOf(1).writeToStream(expected);
    expected.u8(2);
    idUint32(expected, 0x51, 200);
    idString(expected, 0x01, "abc");

    loaded(stored.buffer()).save();
    EXPECT_EQ(readBytes(path), expected.buffer());
}

TEST_F(CancelledMetTest, AddsSaltedDigestsOnceInHashOrder) {
    ByteWriter w;
    saltedHead(w, 0x12345678, 0);
    tCancelledMet met = loaded(w.buffer());
    met.addHash(sequentialHash);
    met.addHash("000102030405060708090A0B0C0D0E0F");
    met.addHash(hashOf(0x11).toString());
    ASSERT_EQ(met.list()->count(), 2u);
    std::size_t index = 0;
    EXPECT_TRUE(met.list()->findByHash(tHash::create("FCB6A4778A74CAE9990CDDE45E33182B"), index));
    EXPECT_TRUE(met.list()->findByHash(saltedHash(0x12345678, hashOf(0x11)), index));
    met.save();
    ByteWriter expected;
    saltedHead(expected, 0x12345678, 2);
    for (const auto& record : *met.list()) {
        record.hash.writeToStream(expected);
        expected.u8(0);
    }
    EXPECT_EQ(readBytes(path), expected.buffer());
    EXPECT_LT((*met.list())[0].hash.compare((*met.list())[1].hash), 0);

    ByteWriter old;
    fileHead(old, 0);
    tCancelledMet plain = loaded(old.buffer());
    plain.addHash(sequentialHash);
    ASSERT_EQ(plain.list()->count(), 1u);
    EXPECT_EQ((*plain.list())[0].hash, tHash::create(sequentialHash));
    EXPECT_EQ(errorOf([&] { plain.addHash("00112233"); }), "Invalid hash");
}

TEST_F(CancelledMetTest, AZeroSeedIsReplacedBeforeTheFirstSalting) {
    ByteWriter w;
    saltedHead(w, 0, 0);
    tCancelledMet met = loaded(w.buffer());
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
    auto loadError = [&](const std::vector<std::uint8_t>& bytes) {
        dir.write("cancelled.met", bytes);
        tCancelledMet met(path, fs);
        std::string error = errorOf([&] { met.load(); });
        EXPECT_EQ(met.list(), nullptr);
        const std::string named = "Cannot read \"" + path + "\": ";
        EXPECT_EQ(error.substr(0, named.size()), named) << "the message names the file";
        return error.substr(std::min(named.size(), error.size()));
    };
    EXPECT_EQ(loadError({0x10, 0, 0, 0, 0}), "Unexpected cancelled.met version");
    EXPECT_EQ(loadError({0x0F, 2, 0, 0, 0, 0, 0, 0, 0, 0}), "Unexpected cancelled.met version");
    EXPECT_EQ(loadError({}), "Unexpected end of file");
    EXPECT_EQ(loadError({0x0E, 0xFF, 0xFF, 0xFF, 0xFF}), "Unexpected end of file");

    ByteWriter unknownType;
    fileHead(unknownType, 1);
    hashOf(1).writeToStream(unknownType);
    unknownType.u8(1);
    idName(unknownType, 0x0A, 0x40);
    EXPECT_EQ(loadError(unknownType.buffer()), "Unknown tag type");

    ByteWriter longBlob;
    fileHead(longBlob, 1);
    hashOf(1).writeToStream(longBlob);
    longBlob.u8(1);
    idName(longBlob, 7, 0x40);
    longBlob.u32(1000);
    longBlob.u32(0);
    EXPECT_EQ(loadError(longBlob.buffer()), "Invalid tag");

    ByteWriter valid;
    saltedHead(valid, 9, 2);
    hashOf(1).writeToStream(valid);
    valid.u8(1);
    idString(valid, 0x01, "name");
    hashOf(2).writeToStream(valid);
    valid.u8(0);
    for (std::size_t n = 0; n < valid.buffer().size(); ++n) {
        std::vector<std::uint8_t> cut(valid.buffer().begin(), valid.buffer().begin() + n);
        EXPECT_NE(loadError(cut), "no error") << n;
    }
}

TEST_F(CancelledMetTest, ReadAndSaveFailuresLeaveTheFileAlone) {
    tCancelledMet missing(dir.file("none.met"), fs);
    EXPECT_EQ(errorOf([&] { missing.load(); }),
              "Cannot open \"" + dir.file("none.met") + "\": " + test::missingFileText());
    EXPECT_EQ(errorOf([&] { missing.save(); }),
              "An error occurred while saving cancelled.met: cancelled.met has not been read");

    ByteWriter w;
    fileHead(w, 0);
    dir.write("cancelled.met", w.buffer());
    fs.next = {1000, 1001};
    tCancelledMet changing(path, fs);
    EXPECT_EQ(errorOf([&] { changing.load(); }),
              "The \"" + path + "\" file has been modified while trying to read it.");
    EXPECT_EQ(changing.list(), nullptr);
    std::filesystem::resize_file(path, maxMetFileSize + 1);
    EXPECT_EQ(errorOf([&] { tCancelledMet(path, fs).load(); }),
              "Cannot read \"" + path + "\": The file is larger than 1024 MiB");

    tCancelledMet met = loaded(w.buffer());
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
    ByteWriter w;
    fileHead(w, 0);
    tCancelledMet met = loaded(w.buffer());
    met.addHash(hashOf(4).toString());
    met.save();
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_NE(readBytes(real + "cancelled.met"), w.buffer());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(real), {}), 1);
}
#endif

} // namespace
} // namespace pln
