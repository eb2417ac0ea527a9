#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class tCreditsForm;
}

namespace pln {

// The viewer's version and the version of Qt it runs with, as --version
// prints them and the credits box shows them.
std::string viewerVersionLine();

// The acknowledgements of the software PLN is built with.
class tCreditsForm : public QDialog {
    Q_OBJECT

public:
    explicit tCreditsForm(QWidget* parent);
    ~tCreditsForm() override;

    QString text() const;
    QString version() const;

private:
    std::unique_ptr<Ui::tCreditsForm> ui_;
};

} // namespace pln
