#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace pln {

// The sort priorities of a list: one entry per priority, the first deciding
// first, each entry the column's tag plus one, negative when descending.
// Every column occurs exactly once.
class tSortOrder {
public:
    // Header images come in pairs, two per priority: 2k + 1 ascending and
    // 2k + 2 descending at priority k. designImages holds one per column tag.
    static tSortOrder fromImages(std::span<const int> designImages);

    std::size_t size() const { return entries_.size(); }
    const std::vector<int>& entries() const { return entries_; }
    int columnAt(std::size_t priority) const;
    bool ascendingAt(std::size_t priority) const { return entries_.at(priority) > 0; }
    // The priority (from 0) of a column; the column must exist.
    std::size_t priorityOf(int column) const;
    bool ascending(int column) const { return ascendingAt(priorityOf(column)); }
    int imageOf(int column) const;

    // A left click on a header: the first column turns round; any other
    // becomes the first, keeping its direction, and those that were before
    // it move one place down.
    void columnClick(int column);
    // A right click reverses the column where it stands.
    void columnRightClick(int column);

private:
    std::vector<int> entries_;
};

// Orders items by the priorities: all of them for a full sort, only the
// first for the sort after a header click. The sort is stable, so after a
// click rows that are equal on the clicked column keep their previous
// order, which already follows the other priorities. compare(a, b, column)
// answers negative, zero or positive for the ascending order.
template <class Item, class Compare>
void sortByPriorities(std::vector<Item>& items, const tSortOrder& order, bool full,
                      Compare compare) {
    const std::size_t used = full ? order.size() : std::min<std::size_t>(1, order.size());
    std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        for (std::size_t p = 0; p < used; ++p) {
            int result = compare(a, b, order.columnAt(p));
            if (result != 0)
                return order.ascendingAt(p) ? result < 0 : result > 0;
        }
        return false;
    });
}

} // namespace pln
