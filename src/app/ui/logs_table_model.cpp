#include "app/ui/logs_table_model.h"

#include <algorithm>

namespace pln {

tLogsTableModel::tLogsTableModel(std::span<const char* const> titles, QObject* parent)
    : QAbstractTableModel(parent), titles_(titles) {}

void tLogsTableModel::columnClick(int column) {
    table().sortOrder().columnClick(column);
    resort(false);
}

void tLogsTableModel::columnRightClick(int column) {
    table().sortOrder().columnRightClick(column);
    resort(true);
}

void tLogsTableModel::resort(bool full) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const tLogsTable& rows = table();
    const QModelIndexList before = persistentIndexList();
    std::vector<std::uint32_t> ids;
    ids.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before)
        ids.push_back(rows.idAt(static_cast<std::size_t>(index.row())));
    if (full)
        table().sortFully();
    else
        table().sortByFirstPriority();
    if (!before.isEmpty()) {
        std::uint32_t last = 0;
        for (std::size_t i = 0; i < rows.count(); ++i)
            last = std::max(last, rows.idAt(i));
        std::vector<int> positions(std::size_t{last} + 1);
        for (std::size_t i = 0; i < rows.count(); ++i)
            positions[rows.idAt(i)] = static_cast<int>(i);
        QModelIndexList after;
        after.reserve(before.size());
        for (qsizetype i = 0; i < before.size(); ++i)
            after.push_back(index(positions[ids[static_cast<std::size_t>(i)]], before[i].column()));
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void tLogsTableModel::rowChanged(std::size_t position) {
    table().refresh(position);
    const int row = static_cast<int>(position);
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void tLogsTableModel::removeRowAt(std::size_t position) {
    const int row = static_cast<int>(position);
    beginRemoveRows({}, row, row);
    table().remove(position);
    endRemoveRows();
}

bool tLogsTableModel::ticked(std::size_t position) const {
    const tLogState state = table().logState(position);
    return state == tLogState::active || state == tLogState::permanent;
}

int tLogsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table().count());
}

int tLogsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(titles_.size());
}

QVariant tLogsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= table().count())
        return {};
    const auto position = static_cast<std::size_t>(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return text(position, index.column());
    case Qt::TextAlignmentRole:
        return alignment(index.column());
    default:
        break;
    }
    if (index.column() != 0)
        return {};
    switch (role) {
    case Qt::CheckStateRole:
        return ticked(position) ? Qt::Checked : Qt::Unchecked;
    case Qt::DecorationRole:
        if (blankIcon_.isNull()) {
            blankIcon_ = QPixmap(16, 16);
            blankIcon_.fill(Qt::transparent);
        }
        return blankIcon_;
    default:
        return firstColumnData(position, role);
    }
}

bool tLogsTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole)
        return false;
    emit checkToggled(static_cast<std::size_t>(index.row()), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags tLogsTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == 0) {
        flags |= Qt::ItemIsUserCheckable;
        if (namesEditable())
            flags |= Qt::ItemIsEditable;
    }
    return flags;
}

QVariant tLogsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromUtf8(titles_[static_cast<std::size_t>(section)]);
    case Qt::DecorationRole:
        return images_.image(table().sortOrder().imageOf(section));
    case Qt::TextAlignmentRole:
        return alignment(section);
    default:
        return {};
    }
}

} // namespace pln
