#pragma once

#include <QDialog>
#include <memory>
#include <optional>
#include <string>

class QAbstractButton;

namespace Ui {
class tCopyFormatForm;
}

namespace pln {

// The user's link format: an edit box and one button per placeholder that
// writes the placeholder at the caret.
class tCopyFormatForm : public QDialog {
    Q_OBJECT

public:
    explicit tCopyFormatForm(QWidget* parent = nullptr);
    ~tCopyFormatForm() override;

    std::string format() const;
    void setFormat(const std::string& format);

    // Shows the dialog modally with the given format; the edited format when
    // the user confirms it.
    static std::optional<std::string> execute(QWidget* parent, const std::string& format);

private:
    void SpeedButtonsClick(QAbstractButton* button);

    std::unique_ptr<Ui::tCopyFormatForm> ui_;
};

} // namespace pln
