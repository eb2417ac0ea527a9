#include "links/core/link_encoding.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

struct EncodingCase {
    const char* title;
    std::string text;
    std::string link;
    std::string form;
};

// Test listings show a row by its name rather than its raw bytes.
void PrintTo(const EncodingCase& row, std::ostream* os) {
    *os << row.title;
}

class EncodingTest : public testing::TestWithParam<EncodingCase> {};

TEST_P(EncodingTest, EncodesEveryByteClass) {
    EXPECT_EQ(linkEncode(GetParam().text), GetParam().link);
    EXPECT_EQ(formEncode(GetParam().text), GetParam().form);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, EncodingTest,
    testing::Values(EncodingCase{"LettersAndDigits", "azAZ09", "azAZ09", "azAZ09"},
                    EncodingCase{"LinkPunctuation", "!$'()*+,-._", "!$'()*+,-._",
                                 "%21%24%27%28%29*%2B%2C-._"},
                    EncodingCase{"OtherPunctuation", "\"#%&/:;<=>?@[\\]^`{|}~",
                                 "%22%23%25%26%2F%3A%3B%3C%3D%3E%3F%40%5B%5C%5D%5E%60%7B%7C%7D%7E",
                                 "%22%23%25%26%2F%3A%3B%3C%3D%3E%3F%40%5B%5C%5D%5E%60%7B%7C%7D%7E"},
                    EncodingCase{"Space", "a b", "a%20b", "a+b"},
                    EncodingCase{"ControlAndDelete", std::string("\x00\x09\x1F\x7F", 4),
                                 "%00%09%1F%7F", "%00%09%1F%7F"},
                    EncodingCase{"LatinLetterAsUtf8", "caf\xC3\xA9", "caf%C3%A9", "caf%C3%A9"},
                    EncodingCase{"CyrillicName", "\xD0\xB4\xD0\xB0.txt", "%D0%B4%D0%B0.txt",
                                 "%D0%B4%D0%B0.txt"}),
    [](const auto& row) { return std::string(row.param.title); });

TEST(HtmlEscape, EscapesOnlyTheMarkupCharacters) {
    EXPECT_EQ(htmlEscape("<b>Tom & \"Jerry\"</b>"), "&lt;b&gt;Tom &amp; \"Jerry\"&lt;/b&gt;");
    EXPECT_EQ(htmlEscape("&amp;"), "&amp;amp;");
}

} // namespace
} // namespace pln
