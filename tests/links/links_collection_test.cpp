#include "link_fixture.h"
#include "links/core/ed2k_link.h"
#include "links/core/links_collection.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

using namespace test;

const std::string aich = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
const std::string plainLink = "ed2k://|file|a%20b%26c.txt|1234|0123456789ABCDEF0123456789ABCDEF|/";

TEST(Ed2kLink, EndsWithTheAichHashWhenTheRecordHasOne) {
    EXPECT_EQ(ed2kLink(*linkRecord("a b&c.txt", 1234)), plainLink);
    EXPECT_EQ(ed2kLink(*linkRecord("a b&c.txt", 1234, aich)),
              "ed2k://|file|a%20b%26c.txt|1234|0123456789ABCDEF0123456789ABCDEF|h=" + aich + "|/");
    EXPECT_EQ(ed2kLink(*linkRecord("big.iso", 5'000'000'000ULL)),
              "ed2k://|file|big.iso|5000000000|0123456789ABCDEF0123456789ABCDEF|/");
}

TEST(FormatLinkLine, FillsEveryPlaceholderInAnyCase) {
    auto record = linkRecord("a b&c.txt", 1234, aich);
    tLinkRow row{record.get(), "D:\\new\\tunes"};
    std::string link = ed2kLink(*record);
    EXPECT_EQ(formatLinkLine("<link>|<htmlLink>|<name>|<urlName>|<folder>|<urlFolder>", row),
              link + "|<a href=" + link + ">a b&amp;c.txt</a>|a b&c.txt|a%20b%26c.txt|" +
                  "D:\\new\\tunes|D%3A%5Cnew%5Ctunes");
    EXPECT_EQ(formatLinkLine("<hash> <aich> <size> <transferred> <requested> <accepted>", row),
              "0123456789ABCDEF0123456789ABCDEF " + aich + " 1234 5000000000 17 9");
    EXPECT_EQ(formatLinkLine("<NAME>/<Size>/<HTMLLINK>", row),
              "a b&c.txt/1234/<a href=" + link + ">a b&amp;c.txt</a>");
    EXPECT_EQ(formatLinkLine("<name", row), "<name");
}

TEST(FormatLinkLine, TurnsOnlyTheFormatsBackslashSequencesIntoBreaksAndTabs) {
    auto record = linkRecord("a b&c.txt", 1234);
    tLinkRow row{record.get(), "D:\\new\\tunes"};
    EXPECT_EQ(formatLinkLine("<name>\\t<size>\\n", row), "a b&c.txt\t1234\r\n");
    EXPECT_EQ(formatLinkLine("<folder>\\n<urlName>", row), "D:\\new\\tunes\r\na%20b%26c.txt");
    EXPECT_EQ(formatLinkLine("\\N\\T\\x", row), "\\N\\T\\x");
}

TEST(FormatLinkLine, KeepsPlaceholdersThatAreTextOfTheFile) {
    auto record = linkRecord("<size>.avi", 1234);
    tLinkRow row{record.get(), "C:\\<name>\\n"};
    EXPECT_EQ(formatLinkLine("<name> <size>", row), "<size>.avi 1234");
    EXPECT_EQ(formatLinkLine("<folder>", row), "C:\\<name>\\n");
    EXPECT_EQ(formatLinkLine("<htmlLink>", row),
              "<a href=ed2k://|file|%3Csize%3E.avi|1234|0123456789ABCDEF0123456789ABCDEF|/>"
              "&lt;size&gt;.avi</a>");
}

TEST(GetLinksCollection, GivesOneLinePerRowInRowOrder) {
    auto first = linkRecord("z.txt", 1, {}, hashB);
    auto second = linkRecord("a b&c.txt", 1234);
    std::vector<tLinkRow> rows{{first.get(), {}}, {second.get(), {}}};
    EXPECT_EQ(getLinksCollection("", rows),
              (std::vector<std::string>{"ed2k://|file|z.txt|1|FEDCBA9876543210FEDCBA9876543210|/",
                                        plainLink}));
    EXPECT_EQ(getLinksCollection("<size>", rows), (std::vector<std::string>{"1", "1234"}));
    EXPECT_TRUE(getLinksCollection("<size>", {}).empty());
}

} // namespace
} // namespace pln
