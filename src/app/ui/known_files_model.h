#pragma once

#include "app/core/known_files_table.h"
#include "app/ui/header_images.h"

#include <QAbstractTableModel>
#include <QLocale>
#include <functional>

namespace pln {

// The known files list's model: one row per shown record, the cells in the
// user's number and date formats, the tick of a row telling whether its log
// is active. Sorting is the table's; the model keeps the views' selection
// on the same records across a sort.
class tKnownFilesModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using CheckHandler = std::function<void(std::size_t position, bool ticked)>;
    using RenameHandler = std::function<void(std::size_t position, const std::string& name)>;

    explicit tKnownFilesModel(QObject* parent = nullptr);

    tKnownFilesTable& table() { return table_; }
    const tKnownFilesTable& table() const { return table_; }
    // A click in a check box asks the handler, which changes the logs and
    // then reports the rows it changed.
    void setCheckHandler(CheckHandler handler) { checkHandler_ = std::move(handler); }
    // Names can be edited in place only once a handler takes the new name.
    void setRenameHandler(RenameHandler handler) { renameHandler_ = std::move(handler); }

    void fill(tKnownMetList& list, const tLogFiles& logs, tKnownFilesFilter filter,
              const tSharedLookup& findShared);
    void clear();
    // The cells of a row changed.
    void rowChanged(std::size_t position);
    void columnClick(int column);
    void columnRightClick(int column);

    const tKnownMetRecord* reference1() const { return reference1_; }
    const tKnownMetRecord* reference2() const { return reference2_; }
    void setReferences(const tKnownMetRecord* first, const tKnownMetRecord* second);
    tKnownMetRecord* recordAt(int position) const;
    int positionOf(const tKnownMetRecord* record) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString text(const tKnownFileRow& row, tKnownFilesColumn column) const;
    void resort(bool full);

    tKnownFilesTable table_;
    mutable tHeaderImages images_;
    // The icon area of the first column, where the colour line is drawn.
    mutable QPixmap blankIcon_;
    QLocale locale_;
    CheckHandler checkHandler_;
    RenameHandler renameHandler_;
    const tKnownMetRecord* reference1_ = nullptr;
    const tKnownMetRecord* reference2_ = nullptr;
};

} // namespace pln
