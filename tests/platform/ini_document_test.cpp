#include "common/ini_document.h"

#include <array>
#include <gtest/gtest.h>

namespace pln {
namespace {

struct ReadCase {
    const char* name;
    const char* text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

// Test listings show a row by its name rather than its raw bytes.
void PrintTo(const ReadCase& row, std::ostream* os) {
    *os << row.name;
}

class IniDocumentRead : public testing::TestWithParam<ReadCase> {};

TEST_P(IniDocumentRead, FindsTheValueByProfileRules) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(IniDocument(c.text).value(c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniDocumentRead,
    testing::Values(ReadCase{"CaseInsensitiveNames", "[General]\r\nKey=Value\r\n", "gENERAL", "KEY",
                             "Value"},
                    ReadCase{"FirstKeyWins", "[S]\nk=1\nK=2\n", "S", "k", "1"},
                    ReadCase{"FirstSectionWins", "[S]\nk=1\n[s]\nk=3\nj=4\n", "s", "k", "1"},
                    ReadCase{"LaterDuplicateSectionNotConsulted", "[S]\na=1\n[S]\nb=2\n", "S", "b",
                             std::nullopt},
                    ReadCase{"BlanksStripped", "[S]\n  k \t=  \t v w \t\n", "S", "k", "v w"},
                    ReadCase{"DoubleQuotesStripped", "[S]\nk= \" x y \" \n", "S", "k", " x y "},
                    ReadCase{"SingleQuotesStripped", "[S]\nk='q'\n", "S", "k", "q"},
                    ReadCase{"OnlyOnePairOfQuotes", "[S]\nk=\"\"q\"\"\n", "S", "k", "\"q\""},
                    ReadCase{"UnpairedQuoteKept", "[S]\nk=\"q\n", "S", "k", "\"q"},
                    ReadCase{"ValueAfterFirstEquals", "[S]\nk=a=b\n", "S", "k", "a=b"},
                    ReadCase{"EmptyValue", "[S]\nk=\n", "S", "k", ""},
                    ReadCase{"CommentSkipped", "[S]\n ;k=1\nk=2\n", "S", "k", "2"},
                    ReadCase{"CommentIsNoKey", "[S]\n;k=1\n", "S", "k", std::nullopt},
                    ReadCase{"LinesBeforeFirstSection", "k=1\n[S]\n", "S", "k", std::nullopt},
                    ReadCase{"KeyOfAnotherSection", "[A]\nk=1\n[B]\n", "B", "k", std::nullopt},
                    ReadCase{"BlanksInsideBrackets", "[ S ]\nk=1", "S", "k", "1"},
                    ReadCase{"CarriageReturnLines", "[S]\rk=1\rj=2", "S", "j", "2"},
                    ReadCase{"MixedLineEnds", "[S]\r\nk=1\nj=2\rl=3", "S", "l", "3"},
                    ReadCase{"MissingSection", "[S]\nk=1\n", "T", "k", std::nullopt}),
    [](const testing::TestParamInfo<ReadCase>& row) { return row.param.name; });

TEST(IniDocumentTest, ListsSectionsAndFirstKeysInFileOrder) {
    IniDocument doc("x=0\n[A]\nx=1\nX=2\n; z=4\nno equals\ny=3\n[B]\n[a]\nw=1\n");
    EXPECT_EQ(doc.sections(), (std::vector<std::string>{"A", "B", "a"}));
    EXPECT_EQ(doc.keys("a"), (std::vector<std::string>{"x", "y"}));
    EXPECT_TRUE(doc.keys("B").empty());
    EXPECT_TRUE(doc.keys("C").empty());
}

TEST(IniDocumentTest, SerializesUnchangedTextByteForByte) {
    std::string text = "\xEF\xBB\xBF; x\r\n[A]\r\n\r\nk = \"v\" \n\r\rtail";
    EXPECT_EQ(IniDocument(text).text(), text);
}

struct WriteCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

void PrintTo(const WriteCase& row, std::ostream* os) {
    *os << row.name;
}

class IniDocumentWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(IniDocumentWrite, ChangesOnlyTheOneLine) {
    const WriteCase& c = GetParam();
    IniDocument doc(c.before);
    ASSERT_TRUE(doc.setValue(c.section, c.key, c.value));
    EXPECT_EQ(doc.text(), c.after);
    EXPECT_EQ(IniDocument(doc.text()).value(c.section, c.key), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniDocumentWrite,
    testing::Values(
        WriteCase{"ReplacesKeepingSpacing", "; c\r\n[S]\r\nk = old \r\nj=2\r\n", "s", "K", "new",
                  "; c\r\n[S]\r\nk = new\r\nj=2\r\n"},
        WriteCase{"ReplacesFirstMatchOnly", "[S]\nk=1\nk=2\n[S]\nk=3\n", "S", "k", "9",
                  "[S]\nk=9\nk=2\n[S]\nk=3\n"},
        WriteCase{"AddsKeyBeforeTrailingBlankLines", "[A]\na=1\n\n[B]\nb=1\n", "A", "n", "v",
                  "[A]\na=1\nn=v\n\n[B]\nb=1\n"},
        WriteCase{"AddsKeyAfterUnterminatedLastLine", "[A]\na=1", "A", "n", "v", "[A]\na=1\nn=v\n"},
        WriteCase{"AddsKeyToEmptySection", "[A]\r\n[B]\r\n", "A", "n", "v",
                  "[A]\r\nn=v\r\n[B]\r\n"},
        WriteCase{"AddsSectionAtEnd", "[A]\ra=1\r", "B", "k", "v", "[A]\ra=1\r[B]\rk=v\r"},
        WriteCase{"NewTextUsesCrLf", "", "PLN", "showTips", "0", "[PLN]\r\nshowTips=0\r\n"},
        WriteCase{"QuotesValueThatWouldNotReadBack", "[S]\n", "S", "k", " padded ",
                  "[S]\nk=\" padded \"\n"},
        WriteCase{"QuotesQuotedValue", "[S]\n", "S", "k", "'x'", "[S]\nk=\"'x'\"\n"}),
    [](const testing::TestParamInfo<WriteCase>& row) { return row.param.name; });

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

} // namespace
} // namespace pln
