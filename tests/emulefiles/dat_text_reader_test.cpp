#include "emulefiles/core/dat_text_reader.h"
#include "support/temp_dir.h"

#include <deque>
#include <filesystem>
#include <gtest/gtest.h>

using namespace std::string_literals;

namespace pln {
namespace {

std::vector<std::uint8_t> bytesOf(std::string_view s) {
    return {s.begin(), s.end()};
}

TEST(DatText, DecodesUtf16AndEightBitAlike) {
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
    EXPECT_EQ(decodeDatText({}), "");
}

TEST(DatText, SplitsAtCrLfLfAndCr) {
    EXPECT_EQ(splitLines("a\r\nb\rc\nd\n\ne\r"),
              (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(splitLines("a\n\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitLines(""), std::vector<std::string>{});
    EXPECT_EQ(splitLines("\r\n"), std::vector<std::string>{""});
    EXPECT_EQ(splitLines("last"), std::vector<std::string>{"last"});
}

// Real files on disk; the stamps are handed out from a script so that a
// change in the middle of a read can be staged.
struct ScriptedStamps : FileSystem {
    std::deque<FileStamp> stamps;
    bool fileExists(const std::string& path) override {
        return std::filesystem::is_regular_file(path);
    }
    bool folderExists(const std::string& path) override {
        return std::filesystem::is_directory(path);
    }
    bool createFolder(const std::string&) override { return false; }
    std::optional<FileStamp> modificationStamp(const std::string& path) override {
        if (!std::filesystem::exists(path))
            return std::nullopt;
        FileStamp s = stamps.front();
        if (stamps.size() > 1)
            stamps.pop_front();
        return s;
    }
};

TEST(DatText, ReadsWholeFileAndNotesItsStamp) {
    test::TempDir dir;
    std::string path = dir.write("shareddir.dat", "C:\\A\r\nC:\\B\r\n");
    ScriptedStamps fs;
    fs.stamps = {5000};
    tDatText dat = readDatText(fs, path);
    EXPECT_TRUE(dat.ok);
    EXPECT_EQ(dat.text, "C:\\A\r\nC:\\B\r\n");
    EXPECT_EQ(dat.stamp, 5000);
    EXPECT_EQ(dat.error, "");
}

TEST(DatText, FailuresLeaveTheTextEmptyAndSayWhy) {
    test::TempDir dir;
    std::string path = dir.write("shareddir.dat", "C:\\A\r\n");
    ScriptedStamps fs;
    fs.stamps = {5000, 5001};
    tDatText changed = readDatText(fs, path);
    EXPECT_FALSE(changed.ok);
    EXPECT_EQ(changed.text, "");
    EXPECT_EQ(changed.error,
              "The \"" + path + "\" file has been modified while trying to read it.");

    fs.stamps = {1};
    tDatText missing = readDatText(fs, dir.file("none.dat"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, "Cannot open file \"" + dir.file("none.dat") + "\".");

    tDatText folder = readDatText(fs, dir.mkdir("folder.dat"));
    EXPECT_FALSE(folder.ok);

    std::string huge = dir.write("huge.dat", "x");
    std::filesystem::resize_file(huge, maxDatFileSize + 1);
    tDatText tooLarge = readDatText(fs, huge);
    EXPECT_FALSE(tooLarge.ok);
    EXPECT_EQ(tooLarge.error, "The \"" + huge + "\" file is too large to be a list of paths.");
}

} // namespace
} // namespace pln
