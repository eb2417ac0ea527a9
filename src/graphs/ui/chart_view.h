#pragma once

#include <QChartView>

class QLabel;

namespace pln {

// The widget of one chart. It passes the mouse on as the chart's own events,
// each with the keys held at that moment: a move, a click, a double click,
// and the mouse leaving the chart.
class tChartView : public QChartView {
    Q_OBJECT

public:
    explicit tChartView(QChart* chart, QWidget* parent = nullptr);

    // A short text centred over the chart; none when empty.
    void setHint(const QString& text);
    QString hint() const;
    // A line of text at the bottom, centred; none when empty.
    void setFooter(const QString& text);
    QString footer() const;
    int footerHeight() const;

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
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* hint_;
    QLabel* footer_;
};

} // namespace pln
