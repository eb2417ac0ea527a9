#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class tCreditsForm;
}

namespace pln {

// The acknowledgements of the software PLN is built with.
class tCreditsForm : public QDialog {
    Q_OBJECT

public:
    explicit tCreditsForm(QWidget* parent);
    ~tCreditsForm() override;

    QString text() const;

private:
    std::unique_ptr<Ui::tCreditsForm> ui_;
};

} // namespace pln
