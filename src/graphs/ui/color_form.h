#pragma once

#include "graphs/core/colors.h"

#include <QColor>
#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

class QListWidgetItem;

namespace Ui {
class tColorForm;
}

namespace pln {

class tColorPreview;

// Asks the user for a colour, starting from the given one; empty when the
// user cancels. Tests hand in their own answer so that nothing waits.
using tColourPicker = std::function<std::optional<QColor>(QWidget* parent, const QColor& initial)>;

// The system colour picker.
std::optional<QColor> systemColourPicker(QWidget* parent, const QColor& initial);

// The colours of the ten slots and the lightness offset of the known-file
// shades, with two small charts that preview the selected slot.
class tColorForm : public QDialog {
    Q_OBJECT

public:
    tColorForm(QWidget* parent, const tChartColours& current, tColourPicker picker);
    ~tColorForm() override;

    tChartColours colours() const;

    // Runs the dialog on the charts' current colours. On OK the choice is
    // stored in the settings and returned, for the caller to apply and
    // redraw; empty on Cancel.
    static std::optional<tChartColours> execute(QWidget* parent, const tChartColours& current,
                                                tSettingsStore& settings,
                                                const tColourPicker& picker = systemColourPicker);

private:
    std::optional<std::size_t> selectedSlot() const;
    void seriesBoxSelect();
    void aEditColorExecute();
    void showSlotColour(std::size_t slot);

    std::unique_ptr<Ui::tColorForm> ui_;
    std::unique_ptr<tColorPreview> preview_;
    tSlotColours slots_;
    tColourPicker picker_;
};

} // namespace pln
