#include "app/core/sort_order.h"

#include <cstdlib>
#include <stdexcept>

namespace pln {

tSortOrder tSortOrder::fromImages(std::span<const int> designImages) {
    std::vector<std::pair<int, int>> byPriority;
    for (std::size_t tag = 0; tag < designImages.size(); ++tag) {
        const int image = designImages[tag];
        const int entry = static_cast<int>(tag) + 1;
        byPriority.emplace_back((image - 1) / 2, image % 2 == 1 ? entry : -entry);
    }
    std::stable_sort(byPriority.begin(), byPriority.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    tSortOrder order;
    for (const auto& [priority, entry] : byPriority)
        order.entries_.push_back(entry);
    return order;
}

int tSortOrder::columnAt(std::size_t priority) const {
    return std::abs(entries_.at(priority)) - 1;
}

std::size_t tSortOrder::priorityOf(int column) const {
    for (std::size_t p = 0; p < entries_.size(); ++p)
        if (std::abs(entries_[p]) - 1 == column)
            return p;
    throw std::out_of_range("no such column");
}

int tSortOrder::imageOf(int column) const {
    const std::size_t p = priorityOf(column);
    return static_cast<int>(2 * p) + (ascendingAt(p) ? 1 : 2);
}

void tSortOrder::columnClick(int column) {
    const std::size_t p = priorityOf(column);
    if (p == 0) {
        entries_[0] = -entries_[0];
        return;
    }
    const int entry = entries_[p];
    std::move_backward(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(p),
                       entries_.begin() + static_cast<std::ptrdiff_t>(p) + 1);
    entries_[0] = entry;
}

void tSortOrder::columnRightClick(int column) {
    const std::size_t p = priorityOf(column);
    entries_[p] = -entries_[p];
}

} // namespace pln
