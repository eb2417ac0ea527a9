#include "app/core/known_files_table.h"

#include "emulefiles/core/known_met_list.h"
#include "logstore/core/log_files.h"

#include <algorithm>
#include <unordered_map>

namespace pln {

tKnownFilesTable::tKnownFilesTable() : tLogsTable(knownFilesDesignImages) {}

void tKnownFilesTable::clear() {
    rows_.clear();
    showRows(0);
    logs_ = nullptr;
}

void tKnownFilesTable::refresh(std::size_t position) {
    tKnownFileRow& shown = row(position);
    shown.logState = logs_ ? logs_->getLogState(shown.hashText) : tLogState::none;
}

void tKnownFilesTable::fill(tKnownMetList& list, const tLogFiles& logs, tKnownFilesFilter filter,
                            const tSharedLookup& findShared, const tTextRanking& ranking) {
    clear();
    rows_.reserve(list.count());
    for (std::size_t i = 0; i < list.count(); ++i) {
        tKnownMetRecord& record = list.record(i);
        tKnownFileRow row;
        row.hashText = record.hash.toString();
        row.logState = logs.getLogState(row.hashText);
        if (row.logState == tLogState::none && filter == tKnownFilesFilter::logged)
            continue;
        row.size = record.getFileSize();
        std::optional<tSharedMatch> match = findShared(list.name(i), row.size, record.date);
        if (!match && filter == tKnownFilesFilter::shared)
            continue;
        row.record = &record;
        row.name = list.name(i);
        row.transferred = record.getTransferred();
        row.shared = match.has_value();
        CalendarMs created = 0;
        if (match) {
            row.modified = match->modified;
            created = match->created;
            row.path = std::move(match->folder);
        }
        row.dled = dledOf(record.hasPartFileName(), row.modified, created);
        tDlTime time;
        if (dlTimeOf(row.dled, row.modified, created, time)) {
            row.dlMinutes = time.sortMinutes();
            row.dlTime = dlTimeText(time);
        }
        rows_.push_back(std::move(row));
    }
    logs_ = &logs;
    showRows(rows_.size());
    rank(ranking);
    sortFully();
}

void tKnownFilesTable::rank(const tTextRanking& ranking) {
    std::vector<std::string_view> texts;
    texts.reserve(rows_.size());
    for (const tKnownFileRow& row : rows_)
        texts.push_back(row.name);
    std::vector<std::uint32_t> ranks = ranking(texts);
    for (std::size_t i = 0; i < rows_.size(); ++i)
        rows_[i].nameRank = ranks[i];
    // Most rows share a handful of folders: each distinct folder is ranked once.
    std::unordered_map<std::string_view, std::uint32_t> folders;
    texts.clear();
    std::vector<std::uint32_t> folderOf(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        auto [at, added] =
            folders.try_emplace(rows_[i].path, static_cast<std::uint32_t>(texts.size()));
        if (added)
            texts.push_back(rows_[i].path);
        folderOf[i] = at->second;
    }
    ranks = ranking(texts);
    for (std::size_t i = 0; i < rows_.size(); ++i)
        rows_[i].pathRank = ranks[folderOf[i]];
}

void tKnownFilesTable::sort(std::vector<std::uint32_t>& order, bool full) {
    const tSortOrder& priorities = sortOrder();
    const std::size_t used = full ? priorities.size() : std::min<std::size_t>(1, priorities.size());
    // The rows' keys on the priorities in use lie side by side in one array,
    // those of descending columns inverted, so that the sort compares words
    // in a row instead of reaching into rows all over the heap. The sort is
    // stable: after a header click, rows equal on the clicked column keep
    // the order of the other priorities.
    std::size_t stride = 0;
    for (std::size_t p = 0; p < used; ++p)
        stride += knownFileSortKeyWords(priorities.columnAt(p));
    std::vector<std::uint64_t> keys;
    keys.reserve(rows_.size() * stride);
    for (const tKnownFileRow& row : rows_)
        for (std::size_t p = 0; p < used; ++p) {
            const std::size_t first = keys.size();
            appendKnownFileSortKey(row, priorities.columnAt(p), keys);
            if (!priorities.ascendingAt(p))
                for (std::size_t w = first; w < keys.size(); ++w)
                    keys[w] = ~keys[w];
        }
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const std::uint64_t* keyA = keys.data() + std::size_t{a} * stride;
        const std::uint64_t* keyB = keys.data() + std::size_t{b} * stride;
        return std::lexicographical_compare(keyA, keyA + stride, keyB, keyB + stride);
    });
}

} // namespace pln
