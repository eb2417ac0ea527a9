#include "link_fixture.h"
#include "links/core/link_exports.h"
#include "links/core/links_collection.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

using namespace test;

TEST(ClipboardText, EndsEveryLineButASingleOne) {
    std::vector<std::string> none, one{"a\r\nb"}, two{"a", "b"};
    EXPECT_EQ(clipboardText(none), "");
    EXPECT_EQ(clipboardText(one), "a\r\nb");
    EXPECT_EQ(clipboardText(two), "a\r\nb\r\n");
    EXPECT_EQ(collectionFileText(one), "a\r\nb\r\n");
    EXPECT_EQ(collectionFileText(none), "");
}

TEST(HtmlClipboardText, BreaksEveryLineIncludingTheLast) {
    auto first = linkRecord("one.txt", 1);
    auto second = linkRecord("two&.txt", 2, {}, hashB);
    std::vector<tLinkRow> rows{{first.get(), {}}, {second.get(), {}}};
    EXPECT_EQ(
        htmlClipboardText(getLinksCollection(htmlLinkFormat, rows)),
        "<a href=ed2k://|file|one.txt|1|0123456789ABCDEF0123456789ABCDEF|/>one.txt</a><br>\r\n"
        "<a href=ed2k://|file|two%26.txt|2|FEDCBA9876543210FEDCBA9876543210|/>two&amp;.txt</a>"
        "<br>\r\n");
    std::vector<std::string> single{"x"}, broken{"a\rb\nc\r\nd"};
    EXPECT_EQ(htmlClipboardText(single), "x");
    EXPECT_EQ(htmlClipboardText(broken), "a\rb\nc<br>\r\nd");
}

TEST(CanExportLinks, NeedsASelectedRowOfALoadedList) {
    EXPECT_TRUE(canExportLinks(1, true) && canExportLinks(7, true));
    EXPECT_FALSE(canExportLinks(0, true) || canExportLinks(3, false));
}

} // namespace
} // namespace pln
