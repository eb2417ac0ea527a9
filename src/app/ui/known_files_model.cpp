#include "app/ui/known_files_model.h"

#include "app/ui/list_view.h"
#include "app/ui/local_text.h"
#include "app/ui/qt_text_ranking.h"
#include "emulefiles/core/known_met_record.h"

#include <QPixmap>

namespace pln {

namespace {

constexpr std::array<const char*, knownFilesColumnCount> titles = {
    "Name", "Log",  "Size",          "Shared", "Transferred",
    "Hash", "DLed", "Last modified", "Path",   "DL time"};

bool rightAligned(tKnownFilesColumn column) {
    return column == tKnownFilesColumn::size || column == tKnownFilesColumn::transferred ||
           column == tKnownFilesColumn::dlTime;
}

QPixmap blankIcon() {
    QPixmap icon(16, 16);
    icon.fill(Qt::transparent);
    return icon;
}

} // namespace

tKnownFilesModel::tKnownFilesModel(QObject* parent)
    : QAbstractTableModel(parent), locale_(QLocale::system()) {}

void tKnownFilesModel::fill(tKnownMetList& list, const tLogFiles& logs, tKnownFilesFilter filter,
                            const tSharedLookup& findShared) {
    beginResetModel();
    reference1_ = nullptr;
    reference2_ = nullptr;
    try {
        table_.fill(list, logs, filter, findShared, rankInUserOrder);
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

void tKnownFilesModel::clear() {
    beginResetModel();
    reference1_ = nullptr;
    reference2_ = nullptr;
    table_.clear();
    endResetModel();
}

void tKnownFilesModel::rowChanged(std::size_t position) {
    const int row = static_cast<int>(position);
    emit dataChanged(index(row, 0), index(row, knownFilesColumnCount - 1));
}

void tKnownFilesModel::columnClick(int column) {
    table_.sortOrder().columnClick(column);
    resort(false);
}

void tKnownFilesModel::columnRightClick(int column) {
    table_.sortOrder().columnRightClick(column);
    resort(true);
}

void tKnownFilesModel::resort(bool full) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::uint32_t> ids;
    ids.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before)
        ids.push_back(table_.idAt(static_cast<std::size_t>(index.row())));
    if (full)
        table_.sortFully();
    else
        table_.sortByFirstPriority();
    if (!before.isEmpty()) {
        std::vector<int> positions(table_.count());
        for (std::size_t i = 0; i < table_.count(); ++i)
            positions[table_.idAt(i)] = static_cast<int>(i);
        QModelIndexList after;
        after.reserve(before.size());
        for (qsizetype i = 0; i < before.size(); ++i)
            after.push_back(index(positions[ids[static_cast<std::size_t>(i)]], before[i].column()));
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit headerDataChanged(Qt::Horizontal, 0, knownFilesColumnCount - 1);
}

void tKnownFilesModel::setReferences(const tKnownMetRecord* first, const tKnownMetRecord* second) {
    const int old1 = positionOf(reference1_);
    const int old2 = positionOf(reference2_);
    reference1_ = first;
    reference2_ = second;
    for (int position : {old1, old2, positionOf(first), positionOf(second)})
        if (position >= 0)
            rowChanged(static_cast<std::size_t>(position));
}

tKnownMetRecord* tKnownFilesModel::recordAt(int position) const {
    if (position < 0 || static_cast<std::size_t>(position) >= table_.count())
        return nullptr;
    return table_.row(static_cast<std::size_t>(position)).record;
}

int tKnownFilesModel::positionOf(const tKnownMetRecord* record) const {
    if (!record)
        return -1;
    for (std::size_t i = 0; i < table_.count(); ++i)
        if (table_.row(i).record == record)
            return static_cast<int>(i);
    return -1;
}

int tKnownFilesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.count());
}

int tKnownFilesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : knownFilesColumnCount;
}

QString tKnownFilesModel::text(const tKnownFileRow& row, tKnownFilesColumn column) const {
    switch (column) {
    case tKnownFilesColumn::name:
        return QString::fromStdString(row.name);
    case tKnownFilesColumn::log:
        return QString::fromUtf8(knownFileLogText(row.logState));
    case tKnownFilesColumn::size:
        return locale_.toString(static_cast<qulonglong>(row.size));
    case tKnownFilesColumn::shared:
        return row.shared ? QStringLiteral("Yes") : QStringLiteral("No");
    case tKnownFilesColumn::transferred:
        return locale_.toString(static_cast<qulonglong>(row.transferred));
    case tKnownFilesColumn::hash:
        return QString::fromStdString(row.hashText);
    case tKnownFilesColumn::dled:
        return QString::fromUtf8(dledText(row.dled));
    case tKnownFilesColumn::lastModified:
        return row.shared && row.modified > 0
                   ? QString::fromStdString(localDateTimeText(row.modified))
                   : QString();
    case tKnownFilesColumn::path:
        return QString::fromStdString(row.path);
    case tKnownFilesColumn::dlTime:
        return QString::fromStdString(row.dlTime);
    }
    return {};
}

QVariant tKnownFilesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= table_.count())
        return {};
    const tKnownFileRow& row = table_.row(static_cast<std::size_t>(index.row()));
    const auto column = static_cast<tKnownFilesColumn>(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return text(row, column);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue((rightAligned(column) ? Qt::AlignRight : Qt::AlignLeft) |
                                   Qt::AlignVCenter);
    default:
        break;
    }
    if (column != tKnownFilesColumn::name)
        return {};
    switch (role) {
    case Qt::CheckStateRole:
        return row.logState == tLogState::active ? Qt::Checked : Qt::Unchecked;
    case Qt::DecorationRole:
        if (blankIcon_.isNull())
            blankIcon_ = blankIcon();
        return blankIcon_;
    case listRole::lineColour:
        if (row.record && row.record->graphColor != clWindow)
            return QVariant::fromValue(row.record->graphColor);
        return {};
    case listRole::reference:
        return row.record && (row.record == reference1_ || row.record == reference2_);
    default:
        return {};
    }
}

bool tKnownFilesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != 0)
        return false;
    const auto position = static_cast<std::size_t>(index.row());
    if (role == Qt::CheckStateRole && checkHandler_) {
        checkHandler_(position, value.toInt() == Qt::Checked);
        return true;
    }
    if (role == Qt::EditRole && renameHandler_) {
        renameHandler_(position, value.toString().toStdString());
        return true;
    }
    return false;
}

Qt::ItemFlags tKnownFilesModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == 0) {
        flags |= Qt::ItemIsUserCheckable;
        if (renameHandler_)
            flags |= Qt::ItemIsEditable;
    }
    return flags;
}

QVariant tKnownFilesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= knownFilesColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromUtf8(titles[static_cast<std::size_t>(section)]);
    case Qt::DecorationRole:
        return images_.image(table_.sortOrder().imageOf(section));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue((rightAligned(static_cast<tKnownFilesColumn>(section))
                                        ? Qt::AlignRight
                                        : Qt::AlignLeft) |
                                   Qt::AlignVCenter);
    default:
        return {};
    }
}

} // namespace pln
