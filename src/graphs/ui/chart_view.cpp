#include "graphs/ui/chart_view.h"

#include <QMouseEvent>

namespace pln {

tChartView::tChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setFrameShape(QFrame::NoFrame);
    setRubberBand(QChartView::NoRubberBand);
    setRenderHint(QPainter::Antialiasing, false);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    // The pop-up menu is the window's; the view only tells where it was asked.
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void tChartView::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint(), event->modifiers());
}

void tChartView::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

// A click is complete when the button comes up: the position of the release
// is the one clicked.
void tChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit clicked(event->position().toPoint(), event->modifiers());
}

void tChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit doubleClicked(event->position().toPoint(), event->modifiers());
}

void tChartView::leaveEvent(QEvent* event) {
    QChartView::leaveEvent(event);
    emit mouseLeft();
}

} // namespace pln
