#pragma once

#include "app/core/sort_order.h"
#include "logstore/core/log_types.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pln {

// The rows of a list of logs in display order, with their sort priorities.
// Rows keep an identity across the sorts, and a row re-reads what it shows
// of its log from the catalogue rather than being told.
class tLogsTable {
public:
    virtual ~tLogsTable() = default;
    tLogsTable(const tLogsTable&) = delete;
    tLogsTable& operator=(const tLogsTable&) = delete;

    std::size_t count() const { return order_.size(); }
    // The identity of the row shown at a display position: distinct for
    // every row and kept by the sorts and removals until the next fill.
    std::uint32_t idAt(std::size_t position) const { return order_.at(position); }
    // Takes a row out of the display.
    void remove(std::size_t position);

    virtual std::string logName(std::size_t position) const = 0;
    virtual tLogState logState(std::size_t position) const = 0;
    // Re-reads the row's log after the log changed.
    virtual void refresh(std::size_t position) = 0;

    tSortOrder& sortOrder() { return sortOrder_; }
    const tSortOrder& sortOrder() const { return sortOrder_; }
    void sortFully() { sort(order_, true); }
    // After a header click: on the first priority alone, keeping the order
    // of rows that are equal on it.
    void sortByFirstPriority() { sort(order_, false); }

protected:
    explicit tLogsTable(std::span<const int> designImages);
    // Shows the rows of identities 0 to rows - 1, in that order.
    void showRows(std::size_t rows);
    // Orders the identities of the shown rows: by every priority when full.
    virtual void sort(std::vector<std::uint32_t>& order, bool full) = 0;

private:
    std::vector<std::uint32_t> order_;
    tSortOrder sortOrder_;
};

} // namespace pln
