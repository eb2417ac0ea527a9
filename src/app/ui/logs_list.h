#pragma once

#include "app/ui/list_context.h"
#include "app/ui/list_view.h"
#include "app/ui/logs_table_model.h"

#include <QObject>
#include <string>
#include <vector>

class QItemSelection;

namespace pln {

// The behaviour the lists of logs share: a check box switches the logs of
// the clicked row or of all the selected rows, Ctrl turns unticking into
// deleting, deletions are confirmed, and a selection change asks for a new
// drawing.
class tLogsList : public QObject {
    Q_OBJECT

public:
    tListView& view() { return view_; }
    // Display positions of the selected rows, in list order.
    std::vector<std::size_t> selectedPositions() const;

    // The logs of every selected row, after one confirmation.
    void deleteSelectedLogs();
    // The log of one row.
    void deleteThisLog(std::size_t position);
    bool canDeleteLog() const;

signals:
    // Rows, ticks or the selection changed: actions may need to be enabled
    // or disabled.
    void stateChanged();

protected:
    // The list owns the model from here on.
    tLogsList(tListView& view, tLogsTableModel* model, tListContext context, QObject* parent);

    // The model the list was made with.
    template <class Model> Model& modelAs() const { return static_cast<Model&>(model_); }
    tRowKey rowKey() const;
    // The graphs draw again at idle time; the tags view too when tags is set.
    void requestRedraw(bool tags = false);

    // Whether a click in the row's check box may act on logs.
    virtual bool switchable(std::size_t position) const = 0;
    // The header of the log a tick writes for a row without one; null where
    // a tick cannot make a log.
    virtual const tLogHeader* newLogHeader() const { return nullptr; }
    // The logs a deletion takes, a line each.
    virtual std::string logsNamed(const std::vector<std::size_t>& positions) const = 0;
    // The log of the row is gone.
    virtual void logDeleted(std::size_t position) = 0;
    virtual bool selectionShowsTags() const { return false; }
    // The user changed the selection (not a refill or a deletion).
    virtual void selectionMade() {}

    tListView& view_;
    tListContext context_;
    // Set while the rows are refilled: the selection they get back is not
    // the user's.
    bool filling_ = false;
    // Set while a handler changes logs, so that it is not entered again.
    bool busy_ = false;

private:
    void onCheckItem(std::size_t clicked, bool ticked);
    void switchLogs(std::size_t clicked, bool ticked);
    void deleteLogs(std::vector<std::size_t> positions);
    void selectionChanged();

    tLogsTableModel& model_;
};

} // namespace pln
