#include "emulefiles/core/dat_text_reader.h"
#include "known_met_bytes.h"
#include "stamp_sequence.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pln {
namespace {

TEST(DatText, DecodesUtf16AndEightBitUpToTheFirstZero) {
    const std::pair<std::string_view, std::string_view> rows[] = {
        {"FFFE 4300 3A00 5C00 E900 0D00 0A00 4400 3A00 5C00 3BD8 00DF 0000 7800",
         "C:\\\xC3\xA9\r\nD:\\\xF0\x9E\xBC\x80"},
        {"433A5CE9 0D0A 443A5C78 00 67617262616765", "C:\\\xC3\xA9\r\nD:\\x"},
        {"EFBBBF 433A5C C3A9", "C:\\\xC3\xA9"},
        {"FFFE 4100 42", "A"},
        {"FFFE", ""},
    };
    for (const auto& [stored, text] : rows)
        EXPECT_EQ(decodeDatText(test::hex(stored)), text) << stored;
}

TEST(DatText, ReadsStableFilesOnlyAndSaysWhyNot) {
    test::TempDir dir;
    test::StampSequence fs;
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
