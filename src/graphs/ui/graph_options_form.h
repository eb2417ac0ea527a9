#pragma once

#include "common/settings_store.h"

#include <QDialog>
#include <memory>
#include <optional>

namespace Ui {
class tGraphOptionsForm;
}

namespace pln {

// The density of the drawn points. Enter confirms and Escape cancels
// whichever control has the focus.
class tGraphOptionsForm : public QDialog {
    Q_OBJECT

public:
    tGraphOptionsForm(QWidget* parent, int pointsPerPixel);
    ~tGraphOptionsForm() override;

    int pointsPerPixel() const;

    // Runs the dialog on the current value. On OK the value is stored under
    // "pointsPerPixel" and returned, for the caller to make it current and
    // redraw; empty on Cancel.
    static std::optional<int> execute(QWidget* parent, int pointsPerPixel,
                                      tSettingsStore& settings);

private:
    std::unique_ptr<Ui::tGraphOptionsForm> ui_;
};

} // namespace pln
