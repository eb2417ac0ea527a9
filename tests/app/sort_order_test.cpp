#include "app/core/known_files_table.h"
#include "app/core/sort_order.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

TEST(SortOrder, HeaderClicksMoveAndReverseColumns) {
    // Log ascending, Shared descending, then Name, Size, Transferred, Hash,
    // DLed, Last modified, Path, DL time ascending; Log, already first, turns round.
    tSortOrder order = tSortOrder::fromImages(knownFilesDesignImages);
    order.columnClick(1);
    EXPECT_EQ(order.entries(), (std::vector<int>{-2, -4, 1, 3, 5, 6, 7, 8, 9, 10}));

    order.columnClick(3); // Shared moves up with its direction
    EXPECT_EQ(order.entries(), (std::vector<int>{-4, -2, 1, 3, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(order.imageOf(3), 2);
    EXPECT_EQ(order.imageOf(1), 4);

    order.columnClick(7); // Last modified from priority 8 to 1
    EXPECT_EQ(order.entries(), (std::vector<int>{8, -4, -2, 1, 3, 5, 6, 7, 9, 10}));

    order.columnRightClick(4); // Transferred at priority 5 turns round in place
    EXPECT_EQ(order.entries(), (std::vector<int>{8, -4, -2, 1, 3, -5, 6, 7, 9, 10}));
    EXPECT_EQ(order.imageOf(4), 12);
    order.columnRightClick(4);
    EXPECT_EQ(order.imageOf(4), 11);
}

TEST(SortOrder, AFirstPrioritySortKeepsThePreviousOrderOfTies) {
    struct Item {
        int a;
        int b;
    };
    std::vector<Item> items = {{1, 2}, {0, 1}, {1, 1}, {0, 2}};
    tSortOrder order = tSortOrder::fromImages(std::vector<int>{1, 4}); // a up, then b down
    auto compare = [](const Item& x, const Item& y, int column) {
        const int l = column == 0 ? x.a : x.b;
        const int r = column == 0 ? y.a : y.b;
        return l - r;
    };
    sortByPriorities(items, order, true, compare);
    ASSERT_EQ(items[0].a, 0);
    EXPECT_EQ(items[0].b, 2);
    EXPECT_EQ(items[2].b, 2);

    order.columnClick(0); // a descending, ties keep b descending
    sortByPriorities(items, order, false, compare);
    EXPECT_EQ(items[0].a, 1);
    EXPECT_EQ(items[0].b, 2);
    EXPECT_EQ(items[1].b, 1);
    EXPECT_EQ(items[2].b, 2);
}

TEST(TextRanking, EqualTextsShareARank) {
    const std::vector<std::uint32_t> ranks =
        rankIgnoringAsciiCase({"beta", "Alpha", "ALPHA", "gamma", ""});
    EXPECT_EQ(ranks, (std::vector<std::uint32_t>{2, 1, 1, 3, 0}));
}

} // namespace
} // namespace pln
