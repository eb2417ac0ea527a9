#include "app/core/logs_table.h"

#include <numeric>
#include <stdexcept>

namespace pln {

tLogsTable::tLogsTable(std::span<const int> designImages)
    : sortOrder_(tSortOrder::fromImages(designImages)) {}

void tLogsTable::remove(std::size_t position) {
    if (position >= order_.size())
        throw std::out_of_range("no such row");
    order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(position));
}

void tLogsTable::showRows(std::size_t rows) {
    order_.resize(rows);
    std::iota(order_.begin(), order_.end(), 0u);
}

} // namespace pln
