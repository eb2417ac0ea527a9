#pragma once

#include "app/core/help_texts.h"

#include <QDialog>
#include <memory>

namespace Ui {
class tbugsForm;
}

namespace pln {

class tPagedText;

// The important notes, one at a time, from the first.
class tbugsForm : public QDialog {
    Q_OBJECT

public:
    tbugsForm(QWidget* parent, std::vector<std::string> notes);
    ~tbugsForm() override;

    // Closed with "Tips": the tips open next.
    bool tipsChosen() const { return tipsChosen_; }
    std::size_t noteIndex() const;
    QString text() const;

private:
    std::unique_ptr<Ui::tbugsForm> ui_;
    tPagedText* paged_ = nullptr;
    bool tipsChosen_ = false;
};

} // namespace pln
