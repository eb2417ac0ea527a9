#include "app/ui/graph_scroll_bar.h"

#include <QKeyEvent>

namespace pln {

void tGraphScrollBar::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Up:
        triggerAction(SliderSingleStepAdd);
        break;
    case Qt::Key_Left:
    case Qt::Key_Down:
        triggerAction(SliderSingleStepSub);
        break;
    default:
        QScrollBar::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace pln
