#include "app/core/help_texts.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

TEST(HelpTexts, TipsNameTheMenusWithoutAccessKeys) {
    const auto tips =
        tipTexts({"&File", "&Compress logs", "&eMule stats and settings", "&New log..."}, 30);
    ASSERT_EQ(tips.size(), 11u);
    EXPECT_EQ(tips[0], "Right-click on a column title to reverse its sort order without changing "
                       "the columns priority.");
    EXPECT_NE(tips[4].find(R"(the menu "File" -> "Compress logs" to reduce)"), std::string::npos);
    EXPECT_NE(tips[4].find("older than 30 days"), std::string::npos);
    EXPECT_NE(tips[4].find("one value every 6 hours"), std::string::npos);
    EXPECT_NE(tips[5].find(R"("eMule stats and settings" -> "New log...")"), std::string::npos);
    EXPECT_NE(tips[6].find(R"(- "Unlikely" means that less than 30 seconds)"), std::string::npos);
    EXPECT_NE(tips[6].find(R"(- "Yes" just means Yes (there's)"), std::string::npos);
    for (const auto& tip : tips)
        EXPECT_EQ(tip.find('&'), std::string::npos) << tip;

    const auto notes = noteTexts("eMule runtime days");
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_NE(notes[0].find(R"(with the "eMule runtime days" on)"), std::string::npos);
    EXPECT_NE(notes[1].find("content of PLN\\logs folder"), std::string::npos);
}

TEST(HelpTexts, PagerWrapsAndBreaksLines) {
    tTextPager pager({"a\\nb", "c", "d\r\ne"}, 4);
    EXPECT_EQ(pager.index(), 1u);
    pager.previous();
    EXPECT_EQ(pager.current(), "a\nb");
    pager.previous();
    EXPECT_EQ(pager.current(), "d\r\ne");
    pager.next();
    pager.next();
    EXPECT_EQ(pager.current(), "c");
}

} // namespace
} // namespace pln
