#pragma once

#include "app/ui/action_refresh.h"
#include "app/ui/known_files_model.h"
#include "app/ui/logs_list.h"
#include "app/ui/main_actions.h"

#include <string>
#include <vector>

namespace pln {

// The known files list: a tick writes the log a file lacks, and the list
// holds the reference files and shows the selection in the tags view.
class tKnownFilesList : public tLogsList {
    Q_OBJECT

public:
    tKnownFilesList(tListView& view, tListContext context, QObject* parent = nullptr);

    tKnownFilesModel& model() const { return modelAs<tKnownFilesModel>(); }

    // Refills the rows; false when known.met is not loaded or the fill
    // failed (the reason in failure).
    bool knownMetLoaded(tKnownMetList* list, tKnownFilesFilter filter,
                        const tSharedLookup& findShared, std::string& failure);

    // Empties the list, when the records it shows are gone.
    void clear();

    std::vector<const tKnownMetRecord*> selectedRecords() const;

    // aRefKF1 and aRefKF2 (which = 1 or 2).
    bool referenceEnabled(int which) const;
    bool referenceChecked(int which) const;
    void setReference(int which, bool checked);
    void resetReferences();
    bool hasReference() const;

    // The list's actions: the list serves them and, on each refresh, enables
    // them as they apply.
    void bindActions(const tMainActions& actions, tActionRefresh& refresh);

protected:
    bool switchable(std::size_t position) const override;
    const tLogHeader* newLogHeader() const override;
    std::string logsNamed(const std::vector<std::size_t>& positions) const override;
    void logDeleted(std::size_t position) override { model().rowChanged(position); }
    bool selectionShowsTags() const override { return true; }

private:
    void updateActions();

    const tMainActions* actions_ = nullptr;
    const tKnownMetRecord* selectedRecord() const;
};

} // namespace pln
