#include "common/ini_document.h"
#include "common/text.h"
#include "platform/portable/ini_file_profile.h"
#include "support/temp_dir.h"

#include <array>
#include <filesystem>
#include <gtest/gtest.h>

namespace pln::test {
namespace {

TEST(IniDocumentTest, FindsTheValueByProfileRules) {
    const struct {
        const char *name, *text, *section, *key;
        std::optional<std::string> expected;
    } rows[] = {
        {"case-insensitive names", "[General]\r\nKey=Value\r\n", "gENERAL", "KEY", "Value"},
        {"first key wins", "[S]\nk=1\nK=2\n", "S", "k", "1"},
        {"first section wins", "[S]\nk=1\n[s]\nk=3\nj=4\n", "s", "k", "1"},
        {"later duplicate section not consulted", "[S]\na=1\n[S]\nb=2\n", "S", "b", std::nullopt},
        {"blanks stripped", "[S]\n  k \t=  \t v w \t\n", "S", "k", "v w"},
        {"double quotes stripped", "[S]\nk= \" x y \" \n", "S", "k", " x y "},
        {"single quotes stripped", "[S]\nk='q'\n", "S", "k", "q"},
        {"only one pair of quotes", "[S]\nk=\"\"q\"\"\n", "S", "k", "\"q\""},
        {"unpaired quote kept", "[S]\nk=\"q\n", "S", "k", "\"q"},
        {"value after the first equals", "[S]\nk=a=b\n", "S", "k", "a=b"},
        {"empty value", "[S]\nk=\n", "S", "k", ""},
        {"comment skipped", "[S]\n ;k=1\nk=2\n", "S", "k", "2"},
        {"comment is no key", "[S]\n;k=1\n", "S", "k", std::nullopt},
        {"lines before the first section", "k=1\n[S]\n", "S", "k", std::nullopt},
        {"key of another section", "[A]\nk=1\n[B]\n", "B", "k", std::nullopt},
        {"blanks inside brackets", "[ S ]\nk=1", "S", "k", "1"},
        {"carriage-return lines", "[S]\rk=1\rj=2", "S", "j", "2"},
        {"mixed line ends", "[S]\r\nk=1\nj=2\rl=3", "S", "l", "3"},
        {"missing section", "[S]\nk=1\n", "T", "k", std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(IniDocument(row.text).value(row.section, row.key), row.expected) << row.name;
}

TEST(IniDocumentTest, ListsSectionsAndFirstKeysAndKeepsTheTextByteForByte) {
    IniDocument doc("x=0\n[A]\nx=1\nX=2\n; z=4\nno equals\ny=3\n[B]\n[a]\nw=1\n");
    EXPECT_EQ(doc.sections(), (std::vector<std::string>{"A", "B", "a"}));
    EXPECT_EQ(doc.keys("a"), (std::vector<std::string>{"x", "y"}));
    EXPECT_TRUE(doc.keys("B").empty());
    EXPECT_TRUE(doc.keys("C").empty());
    const std::string text = "\xEF\xBB\xBF; x\r\n[A]\r\n\r\nk = \"v\" \n\r\rtail";
    EXPECT_EQ(IniDocument(text).text(), text);
}

// A value written changes one line only and reads back as written.
TEST(IniDocumentTest, WritesOneLineThatReadsBack) {
    const struct {
        const char *before, *section, *key, *value, *after;
    } rows[] = {
        {"; c\r\n[S]\r\nk = old \r\nj=2\r\n", "s", "K", "new", "; c\r\n[S]\r\nk = new\r\nj=2\r\n"},
        {"[S]\nk=1\nk=2\n[S]\nk=3\n", "S", "k", "9", "[S]\nk=9\nk=2\n[S]\nk=3\n"},
        {"[A]\na=1\n\n[B]\nb=1\n", "A", "n", "v", "[A]\na=1\nn=v\n\n[B]\nb=1\n"},
        {"[A]\na=1", "A", "n", "v", "[A]\na=1\nn=v\n"},
        {"[A]\r\n[B]\r\n", "A", "n", "v", "[A]\r\nn=v\r\n[B]\r\n"},
        {"[A]\ra=1\r", "B", "k", "v", "[A]\ra=1\r[B]\rk=v\r"},
        {"", "PLN", "showTips", "0", "[PLN]\r\nshowTips=0\r\n"},
        {"[S]\n", "S", "k", " padded ", "[S]\nk=\" padded \"\n"},
        {"[S]\n", "S", "k", "'x'", "[S]\nk=\"'x'\"\n"},
    };
    for (const auto& row : rows) {
        IniDocument doc(row.before);
        ASSERT_TRUE(doc.setValue(row.section, row.key, row.value)) << row.after;
        EXPECT_EQ(doc.text(), row.after);
        EXPECT_EQ(IniDocument(doc.text()).value(row.section, row.key), row.value) << row.after;
    }
}

TEST(IniDocumentTest, RefusesWhatCannotReadBackAndChangesNothing) {
    const std::string text = "[S]\nk=1\n";
    IniDocument doc(text);
    const std::array<const char*, 3> refused[] = {
        {"S", "k", "two\nlines"}, {"S", "k", "cr\r"}, {"S", "a=b", "1"},
        {"S", "", "1"},           {"S", ";k", "1"},   {"S", "[k", "1"},
        {"S", " k", "1"},         {"S]", "k", "1"},   {"", "k", "1"},
    };
    for (const auto& [section, key, value] : refused)
        EXPECT_FALSE(doc.setValue(section, key, value)) << section << '|' << key << '|' << value;
    EXPECT_EQ(doc.text(), text);
}

struct IniFileProfileTest : testing::Test {
    TempDir dir;
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
        auto fileText = [&](const std::string& port) {
            std::string utf8 = comment +
                               "[eMule]\r\nIncomingDir=C:\\D\xC3\xA9j\xC3\xA0\r\nPort = " + port +
                               "\r\n\r\n[Other]\r\nPort=1\r\n";
            return encoding == TextEncoding::Ansi ? *utf8ToCp1252(utf8)
                                                  : encodeTextFile(utf8, encoding);
        };
        std::string file = dir.write(
            "preferences" + std::to_string(static_cast<int>(encoding)) + ".ini", fileText("4662"));

        EXPECT_EQ(ini.read(file, "EMULE", "incomingdir"), "C:\\D\xC3\xA9j\xC3\xA0");
        EXPECT_EQ(ini.sections(file), (std::vector<std::string>{"eMule", "Other"}));
        EXPECT_EQ(ini.keys(file, "eMule"), (std::vector<std::string>{"IncomingDir", "Port"}));
        ASSERT_TRUE(ini.write(file, "eMule", "Port", "\xC3\xA9t\xC3\xA9"));
        EXPECT_EQ(readText(file), fileText("\xC3\xA9t\xC3\xA9"));
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
} // namespace pln::test
