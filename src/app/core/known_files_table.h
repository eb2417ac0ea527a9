#pragma once

#include "app/core/known_file_row.h"
#include "app/core/sort_order.h"
#include "app/core/text_ranking.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

class tKnownMetList;
class tLogFiles;

// Which known files the list shows.
enum class tKnownFilesFilter : std::uint8_t { all, shared, logged };

// A known file found among the files eMule shares: its folder and its dates
// on disk in the local calendar (0 when a date is unknown).
struct tSharedMatch {
    std::string folder;
    CalendarMs modified = 0;
    CalendarMs created = 0;
};

// Finds the shared file of a known file by its name, size and known.met date.
using tSharedLookup = std::function<std::optional<tSharedMatch>(
    std::string_view name, std::uint64_t size, std::uint32_t date)>;

// Design images of the header, by column tag: the list starts sorted by Log,
// then Shared descending, then the other columns in design order.
inline constexpr std::array<int, knownFilesColumnCount> knownFilesDesignImages = {
    5, 1, 7, 4, 9, 11, 13, 15, 17, 19};

// The rows of the known files list in display order, with their sort
// priorities. Rows refer to the records of the known.met list they were
// filled from; a reload refills them.
class tKnownFilesTable {
public:
    tKnownFilesTable();

    // One row per record of the list, in list order, leaving out the records
    // the filter hides; then the full sort.
    void fill(tKnownMetList& list, const tLogFiles& logs, tKnownFilesFilter filter,
              const tSharedLookup& findShared, const tTextRanking& ranking);
    void clear();

    std::size_t count() const { return order_.size(); }
    // The row shown at a display position.
    tKnownFileRow& row(std::size_t position) { return rows_[order_[position]]; }
    const tKnownFileRow& row(std::size_t position) const { return rows_[order_[position]]; }
    // The identity of the row shown at a display position: below count(),
    // distinct for every row and kept by the sorts.
    std::uint32_t idAt(std::size_t position) const { return order_[position]; }

    tSortOrder& sortOrder() { return sortOrder_; }
    const tSortOrder& sortOrder() const { return sortOrder_; }
    void sortFully();
    // After a header click: on the first priority alone, keeping the order
    // of rows that are equal on it.
    void sortByFirstPriority();

private:
    void rank(const tTextRanking& ranking);
    void sort(bool full);

    std::vector<tKnownFileRow> rows_;
    std::vector<std::uint32_t> order_;
    tSortOrder sortOrder_;
};

} // namespace pln
