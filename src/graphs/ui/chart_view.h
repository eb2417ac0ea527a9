#pragma once

#include <QChartView>

namespace pln {

// The widget of one chart. It passes the mouse on as the chart's own events,
// each with the keys held at that moment: a move, a click, a double click,
// and the mouse leaving the chart.
class tChartView : public QChartView {
    Q_OBJECT

public:
    explicit tChartView(QChart* chart, QWidget* parent = nullptr);

signals:
    void mouseMoved(QPoint position, Qt::KeyboardModifiers keys);
    void clicked(QPoint position, Qt::KeyboardModifiers keys);
    void doubleClicked(QPoint position, Qt::KeyboardModifiers keys);
    void mouseLeft();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

} // namespace pln
