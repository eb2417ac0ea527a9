#pragma once

#include <QScrollBar>

namespace pln {

// The scroll and zoom bars under the graphs. Their arrow keys follow the
// drawing rather than a document's convention: Right and Up go towards the
// maximum (later dates, a closer zoom), Left and Down towards the minimum.
// Page Up/Down and the wheel keep the scroll bar's own behaviour.
class tGraphScrollBar : public QScrollBar {
public:
    explicit tGraphScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {}

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace pln
