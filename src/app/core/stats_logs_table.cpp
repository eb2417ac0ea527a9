#include "app/core/stats_logs_table.h"

#include "common/text.h"
#include "logstore/core/log_file.h"
#include "logstore/core/log_files.h"
#include "logstore/core/log_names.h"

namespace pln {

namespace {

template <class T> int threeWay(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

std::string_view statsLogText(tLogState state) {
    return stateText(state);
}

std::string_view graphicText(std::uint8_t flags) {
    return (flags & flagShowWithRequests) != 0 ? "Requests" : "Transfers";
}

int compareStatsLogRows(const tStatsLogRow& a, const tStatsLogRow& b, int column) {
    if (static_cast<tStatsLogsColumn>(column) == tStatsLogsColumn::log)
        return threeWay(static_cast<int>(b.state), static_cast<int>(a.state));
    const auto c = static_cast<std::size_t>(column);
    // Swapping graphs changes the Graphic text after the ranks were taken.
    if (static_cast<tStatsLogsColumn>(column) == tStatsLogsColumn::graphic)
        return icompare(a.texts[c], b.texts[c]);
    return threeWay(a.ranks[c], b.ranks[c]);
}

tStatsLogsTable::tStatsLogsTable() : tLogsTable(statsLogsDesignImages) {}

void tStatsLogsTable::fill(const tLogFiles& logs, const tTextRanking& ranking) {
    rows_.clear();
    showRows(0);
    logs_ = &logs;
    for (const auto& entry : logs.logs()) {
        tLogFile& log = *entry;
        if (log.kind() == tLogKind::knownFile)
            continue;
        tStatsLogRow row;
        row.name = log.name();
        auto& texts = row.texts;
        texts[static_cast<int>(tStatsLogsColumn::value)] = log.displayName();
        if (log.kind() == tLogKind::queuedClients) {
            texts[static_cast<int>(tStatsLogsColumn::fileName)] = "onlinesig.dat";
        } else if (log.kind() == tLogKind::virtualLog) {
            texts[static_cast<int>(tStatsLogsColumn::fileName)] =
                combineFormula(log.operation(), displayNameOf(log.sourceNames()[0]),
                               displayNameOf(log.sourceNames()[1]));
        } else {
            texts[static_cast<int>(tStatsLogsColumn::fileName)] = log.iniFileName();
            texts[static_cast<int>(tStatsLogsColumn::section)] = log.iniSection();
        }
        texts[static_cast<int>(tStatsLogsColumn::units)] = log.units();
        refreshRow(row, &log);
        rows_.push_back(std::move(row));
    }
    for (int column = 0; column < statsLogsColumnCount; ++column) {
        std::vector<std::string_view> texts;
        for (const tStatsLogRow& row : rows_)
            texts.push_back(row.texts[static_cast<std::size_t>(column)]);
        const std::vector<std::uint32_t> ranks = ranking(texts);
        for (std::size_t i = 0; i < rows_.size(); ++i)
            rows_[i].ranks[static_cast<std::size_t>(column)] = ranks[i];
    }
    showRows(rows_.size());
    sortFully();
}

tLogFile* tStatsLogsTable::logAt(std::size_t position) const {
    return logs_ ? logs_->findLog(row(position).name) : nullptr;
}

void tStatsLogsTable::refresh(std::size_t position) {
    refreshRow(row(position), logAt(position));
}

void tStatsLogsTable::refreshRow(tStatsLogRow& row, const tLogFile* log) {
    row.state = log ? log->state() : tLogState::none;
    row.texts[static_cast<int>(tStatsLogsColumn::log)] = statsLogText(row.state);
    if (log)
        row.texts[static_cast<int>(tStatsLogsColumn::graphic)] = graphicText(log->flags());
}

void tStatsLogsTable::sort(std::vector<std::uint32_t>& order, bool full) {
    sortByPriorities(order, sortOrder(), full,
                     [this](std::uint32_t a, std::uint32_t b, int column) {
                         return compareStatsLogRows(rows_[a], rows_[b], column);
                     });
}

} // namespace pln
