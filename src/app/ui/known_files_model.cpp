#include "app/ui/known_files_model.h"

#include "app/ui/list_view.h"
#include "app/ui/local_text.h"
#include "app/ui/qt_text_ranking.h"
#include "emulefiles/core/known_met_record.h"

namespace pln {

namespace {

constexpr std::array<const char*, knownFilesColumnCount> titles = {
    "Name", "Log",  "Size",          "Shared", "Transferred",
    "Hash", "DLed", "Last modified", "Path",   "DL time"};

bool rightAligned(tKnownFilesColumn column) {
    return column == tKnownFilesColumn::size || column == tKnownFilesColumn::transferred ||
           column == tKnownFilesColumn::dlTime;
}

} // namespace

tKnownFilesModel::tKnownFilesModel(const tDrawnColours& colours)
    : tLogsTableModel(titles, nullptr), colours_(colours), locale_(QLocale::system()) {}

void tKnownFilesModel::fill(tKnownMetList& list, const tLogFiles& logs, tKnownFilesFilter filter,
                            const tSharedLookup& findShared) {
    resetRows([&] {
        reference1_ = nullptr;
        reference2_ = nullptr;
        table_.fill(list, logs, filter, findShared, rankInUserOrder);
    });
}

void tKnownFilesModel::clear() {
    resetRows([this] {
        reference1_ = nullptr;
        reference2_ = nullptr;
        table_.clear();
    });
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

QString tKnownFilesModel::text(std::size_t position, int column) const {
    const tKnownFileRow& row = table_.row(position);
    switch (static_cast<tKnownFilesColumn>(column)) {
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

QVariant tKnownFilesModel::firstColumnData(std::size_t position, int role) const {
    const tKnownFileRow& row = table_.row(position);
    switch (role) {
    case listRole::lineColour:
        if (const std::optional<tColour> colour =
                row.record ? colours_.fileColour(row.hashText) : std::nullopt)
            return QVariant::fromValue(*colour);
        return {};
    case listRole::reference:
        return row.record && (row.record == reference1_ || row.record == reference2_);
    default:
        return {};
    }
}

QVariant tKnownFilesModel::alignment(int column) const {
    return QVariant::fromValue(
        (rightAligned(static_cast<tKnownFilesColumn>(column)) ? Qt::AlignRight : Qt::AlignLeft) |
        Qt::AlignVCenter);
}

bool tKnownFilesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole)
        return tLogsTableModel::setData(index, value, role);
    if (!index.isValid() || index.column() != 0 || !renameHandler_)
        return false;
    renameHandler_(static_cast<std::size_t>(index.row()), value.toString().toStdString());
    return true;
}

} // namespace pln
