#pragma once

#include "app/core/help_texts.h"

#include <QDialog>
#include <memory>

namespace Ui {
class tTipsForm;
}

namespace pln {

class tPagedText;

// The tips, one at a time, with the choice whether they open after the
// first load of each start.
class tTipsForm : public QDialog {
    Q_OBJECT

public:
    tTipsForm(QWidget* parent, std::vector<std::string> tips, std::size_t first,
              bool showAtStartup);
    ~tTipsForm() override;

    bool showAtStartup() const;
    // Closed with "Important notes": the notes open next.
    bool notesChosen() const { return notesChosen_; }
    std::size_t tipIndex() const;
    QString text() const;

private:
    std::unique_ptr<Ui::tTipsForm> ui_;
    tPagedText* paged_ = nullptr;
    bool notesChosen_ = false;
};

} // namespace pln
