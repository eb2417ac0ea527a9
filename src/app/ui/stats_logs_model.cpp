#include "app/ui/stats_logs_model.h"

#include "app/ui/list_view.h"
#include "app/ui/qt_text_ranking.h"
#include "logstore/core/log_file.h"

namespace pln {

namespace {

constexpr std::array<const char*, statsLogsColumnCount> titles = {"Value",   "Log",   "File name",
                                                                  "Section", "Units", "Graphic"};

} // namespace

tStatsLogsModel::tStatsLogsModel(const tDrawnColours& colours)
    : tLogsTableModel(titles, nullptr), colours_(colours) {}

void tStatsLogsModel::fill(const tLogFiles& logs) {
    resetRows([&] { table_.fill(logs, rankInUserOrder); });
}

tLogFile* tStatsLogsModel::logAt(int position) const {
    if (position < 0 || static_cast<std::size_t>(position) >= table_.count())
        return nullptr;
    return table_.logAt(static_cast<std::size_t>(position));
}

QString tStatsLogsModel::text(std::size_t position, int column) const {
    return QString::fromStdString(table_.row(position).texts[static_cast<std::size_t>(column)]);
}

QVariant tStatsLogsModel::firstColumnData(std::size_t position, int role) const {
    if (role != listRole::lineColour)
        return {};
    if (const std::optional<tColour> colour = colours_.logColour(table_.row(position).name))
        return QVariant::fromValue(*colour);
    return {};
}

} // namespace pln
