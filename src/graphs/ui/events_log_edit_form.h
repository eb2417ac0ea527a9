#pragma once

#include "common/colour.h"
#include "graphs/core/events_log.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Ui {
class tEventsLogEditForm;
}

namespace pln {

class Prompter;

// A known file an event can be attached to: one on the graphs.
struct tEventFile {
    std::string name;
    std::string hash; // 32 hexadecimal digits
    tColour colour;   // its display colour
};

// The display colour of the known file with that hash when the file is on
// the graphs; empty otherwise.
using tDrawnFileColour = std::function<std::optional<tColour>(const std::string& hash)>;

struct tEventsEditorContext {
    std::string eventsLogPath;
    // The files offered for attaching, in the order the user sees them:
    // the reference files first, then the selected drawn files.
    std::vector<tEventFile> files;
    tDrawnFileColour drawnColour;
    Prompter& prompter;
};

// The list of special events. Only events without a file and events of the
// files on the graphs are shown; the others are kept aside untouched and
// written back on OK.
class tEventsLogEditForm : public QDialog {
    Q_OBJECT

public:
    tEventsLogEditForm(QWidget* parent, const tEventsEditorContext& context,
                       std::optional<CalendarMs> date);
    ~tEventsLogEditForm() override;

    // Runs the editor with its date box preset to the date; true when the
    // events were saved, so that the caller redraws.
    static bool execute(QWidget* parent, const tEventsEditorContext& context,
                        std::optional<CalendarMs> date);

    void accept() override;

private:
    void moveAsideEventsOfHiddenFiles();
    void fillFileBox();
    void fillEventsBox();
    void selectEvent(std::optional<std::size_t> index);
    std::optional<std::size_t> selectedEvent() const;
    void eventsBoxSelect();
    void boxesEdit();
    void aAddExecute();
    void aDelExecute();
    int fileItemOfHash(const std::string& hash) const;
    std::string chosenHash() const;

    std::unique_ptr<Ui::tEventsLogEditForm> ui_;
    const tEventsEditorContext& context_;
    tEventsLog working_;
    std::vector<tEvent> keptAside_;
    // Set while the form itself fills the boxes, which is no edit.
    bool filling_ = false;
    // An events.log that exists but could not be read is never replaced by
    // the (empty) list shown.
    bool readable_ = true;
};

} // namespace pln
