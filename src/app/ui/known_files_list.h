#pragma once

#include "app/ui/known_files_model.h"
#include "app/ui/list_context.h"
#include "app/ui/list_view.h"

#include <QObject>
#include <string>
#include <vector>

class QItemSelection;

namespace pln {

class tListView;

// The behaviour of the known files list: check boxes switch the logs of the
// clicked or selected files, log deletion, the reference files and the
// selection's effect on the graphs and the tags view.
class tKnownFilesList : public QObject {
    Q_OBJECT

public:
    tKnownFilesList(tListView& view, tListContext context, QObject* parent = nullptr);

    tKnownFilesModel& model() { return *model_; }
    tListView& view() { return view_; }

    // Refills the rows; false when known.met is not loaded or the fill
    // failed (the reason in failure).
    bool knownMetLoaded(tKnownMetList* list, tKnownFilesFilter filter,
                        const tSharedLookup& findShared, std::string& failure);

    // Empties the list, when the records it shows are gone.
    void clear();

    // Display positions of the selected rows, in list order.
    std::vector<std::size_t> selectedPositions() const;
    std::vector<const tKnownMetRecord*> selectedRecords() const;

    void onCheckItem(std::size_t position, bool ticked);
    // aKFDelLog: the logs of every selected row, after one confirmation.
    void deleteSelectedLogs();
    // kfDelThisLog: the log of one row.
    void deleteThisLog(std::size_t position);
    bool canDeleteLog() const;

    // aRefKF1 and aRefKF2 (which = 1 or 2).
    bool referenceEnabled(int which) const;
    bool referenceChecked(int which) const;
    void setReference(int which, bool checked);
    void resetReferences();
    bool hasReference() const;

signals:
    // Rows, ticks, references or the selection changed: actions may need
    // to be enabled or disabled.
    void stateChanged();

private:
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void deleteLogs(const std::vector<std::size_t>& positions);
    tRowKey rowKey() const;
    std::string logsNamed(const std::vector<std::size_t>& positions);
    bool activateLogs(const std::vector<std::size_t>& rows, std::size_t clicked);
    void setPending(bool tags);
    tKnownFileRow& rowAt(std::size_t position) { return model_->table().row(position); }

    tListView& view_;
    tListContext context_;
    tKnownFilesModel* model_;
    bool busy_ = false;
    bool filling_ = false;
};

} // namespace pln
