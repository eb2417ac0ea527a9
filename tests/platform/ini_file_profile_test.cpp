#include "common/text.h"
#include "platform/portable/ini_file_profile.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pln {
namespace {

using test::readText;

std::string encoded(const std::string& utf8, TextEncoding encoding) {
    if (encoding == TextEncoding::Ansi)
        return *utf8ToCp1252(utf8);
    return encodeTextFile(utf8, encoding);
}

struct IniFileProfileTest : testing::Test {
    test::TempDir dir;
    IniFileProfile ini;
};

// The same text in each encoding a profile file may have; the comment holds
// bytes that only survive an exact round trip (0x81 is undefined in
// Windows-1252).
TEST_F(IniFileProfileTest, ReadsAndRewritesOneLineInTheSameEncoding) {
    for (auto encoding : {TextEncoding::Ansi, TextEncoding::Utf8Bom, TextEncoding::Utf16LeBom}) {
        SCOPED_TRACE(static_cast<int>(encoding));
        const std::string comment = encoding == TextEncoding::Ansi
                                        ? "; \xC2\x81 caf\xC3\xA9\r\n"
                                        : "; caf\xC3\xA9 \xE2\x82\xAC\r\n";
        const std::string before = comment + "[eMule]\r\nIncomingDir=C:\\D\xC3\xA9j\xC3\xA0\r\n"
                                             "Port = 4662\r\n\r\n[Other]\r\nPort=1\r\n";
        const std::string after = comment + "[eMule]\r\nIncomingDir=C:\\D\xC3\xA9j\xC3\xA0\r\n"
                                            "Port = \xC3\xA9t\xC3\xA9\r\n\r\n[Other]\r\nPort=1\r\n";
        const std::string name = "preferences" + std::to_string(static_cast<int>(encoding));
        std::string file = dir.write(name + ".ini", encoded(before, encoding));

        EXPECT_EQ(ini.read(file, "EMULE", "incomingdir"), "C:\\D\xC3\xA9j\xC3\xA0");
        EXPECT_EQ(ini.sections(file), (std::vector<std::string>{"eMule", "Other"}));
        EXPECT_EQ(ini.keys(file, "eMule"), (std::vector<std::string>{"IncomingDir", "Port"}));
        ASSERT_TRUE(ini.write(file, "eMule", "Port", "\xC3\xA9t\xC3\xA9"));
        EXPECT_EQ(readText(file), encoded(after, encoding));
        EXPECT_EQ(ini.read(file, "eMule", "Port"), "\xC3\xA9t\xC3\xA9");
    }
}

TEST_F(IniFileProfileTest, MissingFileReadsAsAbsentAndIsCreatedAsPlainTextUntilUtf8IsNeeded) {
    std::string file = dir.file("PLN.ini");
    EXPECT_EQ(ini.read(file, "PLN", "showTips"), std::nullopt);
    EXPECT_TRUE(ini.sections(file).empty());
    EXPECT_TRUE(ini.keys(file, "PLN").empty());

    ASSERT_TRUE(ini.write(file, "PLN", "lastCompressDate", "Never since 01.02.2024 caf\xC3\xA9"));
    EXPECT_EQ(readText(file), "[PLN]\r\nlastCompressDate=Never since 01.02.2024 caf\xE9\r\n");

    EXPECT_FALSE(ini.write(dir.file("no folder/PLN.ini"), "PLN", "showTips", "0"));

    // A value Windows-1252 cannot hold turns the file to UTF-8.
    ASSERT_TRUE(ini.write(file, "PLN", "j", "\xE2\x82\xB9"));
    EXPECT_EQ(readText(file), "\xEF\xBB\xBF[PLN]\r\nlastCompressDate=Never since 01.02.2024 "
                              "caf\xC3\xA9\r\nj=\xE2\x82\xB9\r\n");
}

TEST_F(IniFileProfileTest, UnreadableOrOversizedFileIsAbsentAndNeverRewritten) {
    std::string big = dir.write("big.ini", "[S]\r\nk=1\r\n");
    std::filesystem::resize_file(big, IniFileProfile::maxFileSize + 1);
    EXPECT_EQ(ini.read(big, "S", "k"), std::nullopt);
    EXPECT_FALSE(ini.write(big, "S", "k", "2"));
    EXPECT_EQ(std::filesystem::file_size(big), IniFileProfile::maxFileSize + 1);

    std::string folder = dir.mkdir("folder.ini");
    EXPECT_EQ(ini.read(folder, "S", "k"), std::nullopt);
    EXPECT_FALSE(ini.write(folder, "S", "k", "2"));
    EXPECT_TRUE(std::filesystem::is_directory(folder));

    std::string file = dir.write("ok.ini", "[S]\r\n");
    EXPECT_FALSE(ini.write(file, "S", "bad=key", "2"));
    EXPECT_EQ(readText(file), "[S]\r\n");
}

} // namespace
} // namespace pln
