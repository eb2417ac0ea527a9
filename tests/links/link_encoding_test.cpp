#include "links/core/link_encoding.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

TEST(LinkEncoding, EncodesEveryByteClass) {
    const struct {
        const char* title;
        std::string text, link, form;
    } rows[] = {
        {"letters and digits", "azAZ09", "azAZ09", "azAZ09"},
        {"link punctuation", "!$'()*+,-._", "!$'()*+,-._", "%21%24%27%28%29*%2B%2C-._"},
        {"other punctuation", "\"#%&/:;<=>?@[\\]^`{|}~",
         "%22%23%25%26%2F%3A%3B%3C%3D%3E%3F%40%5B%5C%5D%5E%60%7B%7C%7D%7E",
         "%22%23%25%26%2F%3A%3B%3C%3D%3E%3F%40%5B%5C%5D%5E%60%7B%7C%7D%7E"},
        {"space", "a b", "a%20b", "a+b"},
        {"control and delete", std::string("\x00\x09\x1F\x7F", 4), "%00%09%1F%7F", "%00%09%1F%7F"},
        {"latin letter as UTF-8", "caf\xC3\xA9", "caf%C3%A9", "caf%C3%A9"},
        {"cyrillic name", "\xD0\xB4\xD0\xB0.txt", "%D0%B4%D0%B0.txt", "%D0%B4%D0%B0.txt"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.title);
        EXPECT_EQ(linkEncode(row.text), row.link);
        EXPECT_EQ(formEncode(row.text), row.form);
    }
}

TEST(HtmlEscape, EscapesOnlyTheMarkupCharacters) {
    EXPECT_EQ(htmlEscape("<b>Tom & \"Jerry\"</b>"), "&lt;b&gt;Tom &amp; \"Jerry\"&lt;/b&gt;");
    EXPECT_EQ(htmlEscape("&amp;"), "&amp;amp;");
}

} // namespace
} // namespace pln
