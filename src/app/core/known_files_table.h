#pragma once

#include "app/core/known_file_row.h"
#include "app/core/logs_table.h"
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

// The rows of the known files list. Rows refer to the records of the
// known.met list they were filled from; a reload refills them.
class tKnownFilesTable : public tLogsTable {
public:
    tKnownFilesTable();

    // One row per record of the list, in list order, leaving out the records
    // the filter hides; then the full sort. The rows read their log states
    // from logs from then on.
    void fill(tKnownMetList& list, const tLogFiles& logs, tKnownFilesFilter filter,
              const tSharedLookup& findShared, const tTextRanking& ranking);
    void clear();

    // The row shown at a display position.
    tKnownFileRow& row(std::size_t position) { return rows_[idAt(position)]; }
    const tKnownFileRow& row(std::size_t position) const { return rows_[idAt(position)]; }

    std::string logName(std::size_t position) const override { return row(position).hashText; }
    tLogState logState(std::size_t position) const override { return row(position).logState; }
    void refresh(std::size_t position) override;

private:
    void rank(const tTextRanking& ranking);
    void sort(std::vector<std::uint32_t>& order, bool full) override;

    std::vector<tKnownFileRow> rows_;
    const tLogFiles* logs_ = nullptr;
};

} // namespace pln
