#pragma once

#include "app/core/known_files_table.h"
#include "app/ui/logs_table_model.h"
#include "graphs/core/graph_data.h"

#include <QLocale>
#include <functional>

namespace pln {

// The known files list's model: one row per shown record, the cells in the
// user's number and date formats, the tick of a row telling whether its log
// is active.
class tKnownFilesModel : public tLogsTableModel {
    Q_OBJECT

public:
    using RenameHandler = std::function<void(std::size_t position, const std::string& name)>;

    explicit tKnownFilesModel(const tDrawnColours& colours);

    tKnownFilesTable& table() override { return table_; }
    const tKnownFilesTable& table() const override { return table_; }
    // Names can be edited in place only once a handler takes the new name.
    void setRenameHandler(RenameHandler handler) { renameHandler_ = std::move(handler); }

    void fill(tKnownMetList& list, const tLogFiles& logs, tKnownFilesFilter filter,
              const tSharedLookup& findShared);
    void clear();

    const tKnownMetRecord* reference1() const { return reference1_; }
    const tKnownMetRecord* reference2() const { return reference2_; }
    void setReferences(const tKnownMetRecord* first, const tKnownMetRecord* second);
    tKnownMetRecord* recordAt(int position) const;
    int positionOf(const tKnownMetRecord* record) const;

    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

protected:
    QString text(std::size_t position, int column) const override;
    QVariant firstColumnData(std::size_t position, int role) const override;
    QVariant alignment(int column) const override;
    bool namesEditable() const override { return static_cast<bool>(renameHandler_); }

private:
    const tDrawnColours& colours_;
    tKnownFilesTable table_;
    QLocale locale_;
    RenameHandler renameHandler_;
    const tKnownMetRecord* reference1_ = nullptr;
    const tKnownMetRecord* reference2_ = nullptr;
};

} // namespace pln
