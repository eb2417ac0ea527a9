#pragma once

#include "app/core/logs_table.h"
#include "app/core/text_ranking.h"
#include "logstore/core/combine_formula.h"
#include "logstore/core/log_types.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pln {

class tLogFile;
class tLogFiles;

// The columns of the stats logs list by their fixed tags.
enum class tStatsLogsColumn : int {
    value = 0,
    log = 1,
    fileName = 2,
    section = 3,
    units = 4,
    graphic = 5,
};
inline constexpr int statsLogsColumnCount = 6;

// Design images by column tag: Log first, then Value, File name, Section,
// Units and Graphic, all ascending.
inline constexpr std::array<int, statsLogsColumnCount> statsLogsDesignImages = {3, 1, 5, 7, 9, 11};

// "Active", "Inactive" or "Permanent".
std::string_view statsLogText(tLogState state);
// "Requests" or "Transfers": the graph the log is drawn in.
std::string_view graphicText(std::uint8_t flags);

struct tStatsLogRow {
    // The log's name: a row finds its log in the catalogue when asked, so
    // that a row of a log gone with a rescan shows no freed object.
    std::string name;
    tLogState state = tLogState::none;
    // The texts of the columns, by tag.
    std::array<std::string, statsLogsColumnCount> texts;
    std::array<std::uint32_t, statsLogsColumnCount> ranks{};

    // A permanent log stays ticked whatever the user does.
    bool ticked() const { return state == tLogState::active || state == tLogState::permanent; }
};

// Negative, zero or positive for the ascending order of one column. The Log
// column puts permanent logs first, then active, then inactive.
int compareStatsLogRows(const tStatsLogRow& a, const tStatsLogRow& b, int column);

// Every log of the catalogue except the known-file logs.
class tStatsLogsTable : public tLogsTable {
public:
    tStatsLogsTable();

    void fill(const tLogFiles& logs, const tTextRanking& ranking);

    tStatsLogRow& row(std::size_t position) { return rows_[idAt(position)]; }
    const tStatsLogRow& row(std::size_t position) const { return rows_[idAt(position)]; }

    // The row's log in the catalogue the rows were filled from; null when it
    // is not there (any more).
    tLogFile* logAt(std::size_t position) const;
    std::string logName(std::size_t position) const override { return row(position).name; }
    tLogState logState(std::size_t position) const override { return row(position).state; }
    // Refreshes the state and Graphic texts after the log changed.
    void refresh(std::size_t position) override;

private:
    static void refreshRow(tStatsLogRow& row, const tLogFile* log);
    void sort(std::vector<std::uint32_t>& order, bool full) override;

    std::vector<tStatsLogRow> rows_;
    const tLogFiles* logs_ = nullptr;
};

} // namespace pln
