#include "graphs/ui/chart_view.h"

#include <QLabel>
#include <QMouseEvent>

namespace pln {

tChartView::tChartView(QChart* chart, QWidget* parent)
    : QChartView(chart, parent), hint_(new QLabel(this)), footer_(new QLabel(this)) {
    footer_->setObjectName(QStringLiteral("footer"));
    footer_->setAlignment(Qt::AlignCenter);
    footer_->setAttribute(Qt::WA_TransparentForMouseEvents);
    footer_->hide();
    hint_->setObjectName(QStringLiteral("hint"));
    hint_->setAlignment(Qt::AlignCenter);
    hint_->setWordWrap(true);
    hint_->setAttribute(Qt::WA_TransparentForMouseEvents);
    hint_->setStyleSheet(QStringLiteral("color: gray"));
    hint_->hide();
    setFrameShape(QFrame::NoFrame);
    setRubberBand(QChartView::NoRubberBand);
    setRenderHint(QPainter::Antialiasing, false);
    // A new drawing can move the axes and their labels anywhere: the whole
    // view is painted again, so that no piece of the last one stays behind.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    // The pop-up menu is the window's; the view only tells where it was asked.
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void tChartView::setHint(const QString& text) {
    hint_->setText(text);
    hint_->setVisible(!text.isEmpty());
}

QString tChartView::hint() const {
    return hint_->isHidden() ? QString() : hint_->text();
}

void tChartView::setFooter(const QString& text) {
    footer_->setText(text);
    footer_->setVisible(!text.isEmpty());
    footer_->setGeometry(0, height() - footerHeight() - 1, width(), footerHeight());
}

QString tChartView::footer() const {
    return footer_->isHidden() ? QString() : footer_->text();
}

int tChartView::footerHeight() const {
    return footer_->isHidden() ? 0 : footer_->fontMetrics().height();
}

void tChartView::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    hint_->setGeometry(rect());
    footer_->setGeometry(0, height() - footerHeight() - 1, width(), footerHeight());
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
