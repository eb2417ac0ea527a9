#include "emulefiles/core/dat_text_reader.h"
#include "stamp_sequence.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace std::string_literals;

namespace pln {
namespace {

std::vector<std::uint8_t> bytesOf(std::string_view s) {
    return {s.begin(), s.end()};
}

TEST(DatText, DecodesUtf16AndEightBitUpToTheFirstZero) {
    std::string utf16 = "\xFF\xFE"
                        "C\0:\0\\\0\xE9\0\r\0\n\0D\0:\0\\\0\x3B\xD8\x00\xDF"
                        "\0\0x\0"s;
    EXPECT_EQ(decodeDatText(bytesOf(utf16)), "C:\\\xC3\xA9\r\nD:\\\xF0\x9E\xBC\x80");
    EXPECT_EQ(decodeDatText(bytesOf("C:\\\xE9\r\nD:\\x\0garbage"s)), "C:\\\xC3\xA9\r\nD:\\x");
    EXPECT_EQ(decodeDatText(bytesOf("\xEF\xBB\xBF"
                                    "C:\\\xC3\xA9")),
              "C:\\\xC3\xA9");
    EXPECT_EQ(decodeDatText(bytesOf("\xFF\xFE"
                                    "A\0B"s)),
              "A");
    EXPECT_EQ(decodeDatText(bytesOf("\xFF\xFE")), "");
}

TEST(DatText, SplitsAtCrLfLfAndCr) {
    EXPECT_EQ(splitLines("a\r\nb\rc\nd\n\ne\r"),
              (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(splitLines("a\n\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitLines(""), std::vector<std::string>{});
    EXPECT_EQ(splitLines("last"), std::vector<std::string>{"last"});
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

    std::string missing = dir.file("none.dat");
    EXPECT_EQ(read(missing, {1, 1}).error, "Cannot open file \"" + missing + "\".");

    std::string huge = dir.write("huge.dat", "x");
    std::filesystem::resize_file(huge, maxDatFileSize + 1);
    EXPECT_EQ(read(huge, {1, 1}).error,
              "The \"" + huge + "\" file is too large to be a list of paths.");
}

} // namespace
} // namespace pln
