#include "app/ui/stats_logs_model.h"

#include "app/ui/list_view.h"
#include "app/ui/qt_text_ranking.h"
#include "logstore/core/log_file.h"

#include <QPixmap>
#include <unordered_map>

namespace pln {

namespace {

constexpr std::array<const char*, statsLogsColumnCount> titles = {"Value",   "Log",   "File name",
                                                                  "Section", "Units", "Graphic"};

} // namespace

tStatsLogsModel::tStatsLogsModel(QObject* parent) : QAbstractTableModel(parent) {}

void tStatsLogsModel::fill(const tLogFiles& logs) {
    beginResetModel();
    try {
        table_.fill(logs, rankInUserOrder);
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

void tStatsLogsModel::rowChanged(std::size_t position) {
    table_.refresh(position);
    const int row = static_cast<int>(position);
    emit dataChanged(index(row, 0), index(row, statsLogsColumnCount - 1));
}

void tStatsLogsModel::removeRowAt(std::size_t position) {
    const int row = static_cast<int>(position);
    beginRemoveRows({}, row, row);
    table_.remove(position);
    endRemoveRows();
}

void tStatsLogsModel::columnClick(int column) {
    table_.sortOrder().columnClick(column);
    resort(false);
}

void tStatsLogsModel::columnRightClick(int column) {
    table_.sortOrder().columnRightClick(column);
    resort(true);
}

void tStatsLogsModel::resort(bool full) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<const tLogFile*> logs;
    for (const QModelIndex& index : before)
        logs.push_back(logAt(index.row()));
    if (full)
        table_.sortFully();
    else
        table_.sortByFirstPriority();
    std::unordered_map<const tLogFile*, int> positions;
    for (std::size_t i = 0; i < table_.count(); ++i)
        positions.emplace(table_.row(i).log, static_cast<int>(i));
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i)
        after.push_back(index(positions.at(logs[static_cast<std::size_t>(i)]), before[i].column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit headerDataChanged(Qt::Horizontal, 0, statsLogsColumnCount - 1);
}

tLogFile* tStatsLogsModel::logAt(int position) const {
    if (position < 0 || static_cast<std::size_t>(position) >= table_.count())
        return nullptr;
    return table_.row(static_cast<std::size_t>(position)).log;
}

int tStatsLogsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.count());
}

int tStatsLogsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : statsLogsColumnCount;
}

QVariant tStatsLogsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= table_.count())
        return {};
    const tStatsLogRow& row = table_.row(static_cast<std::size_t>(index.row()));
    if (role == Qt::DisplayRole)
        return QString::fromStdString(row.texts[static_cast<std::size_t>(index.column())]);
    if (index.column() != 0)
        return {};
    switch (role) {
    case Qt::CheckStateRole:
        return row.ticked() ? Qt::Checked : Qt::Unchecked;
    case Qt::DecorationRole:
        if (blankIcon_.isNull()) {
            blankIcon_ = QPixmap(16, 16);
            blankIcon_.fill(Qt::transparent);
        }
        return blankIcon_;
    case listRole::lineColour:
        if (row.log->colour() != clWindow)
            return QVariant::fromValue(row.log->colour());
        return {};
    default:
        return {};
    }
}

bool tStatsLogsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole || !checkHandler_)
        return false;
    checkHandler_(static_cast<std::size_t>(index.row()), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags tStatsLogsModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant tStatsLogsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= statsLogsColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(titles[static_cast<std::size_t>(section)]);
    if (role == Qt::DecorationRole)
        return images_.image(table_.sortOrder().imageOf(section));
    return {};
}

} // namespace pln
