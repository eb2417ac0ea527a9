#pragma once

#include "common/colour.h"
#include "graphs/core/readout.h"

#include <QCursor>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QLineEdit;
class QTextEdit;

namespace pln {

class Prompter;
class tGraphChart;
class tLogFiles;

// What the read-out needs from the window around it.
struct tReadoutContext {
    const tLogFiles& logFiles;
    Prompter& prompter;
    // The colour of the known file of that hash when it is on the graphs
    // now (displayedFileColour).
    std::function<std::optional<tColour>(const std::string& hash)> displayedColour;
    // A date-time as the user reads it.
    std::function<QString(CalendarMs)> dateTimeText;
};

// The two information boxes over the charts and the mouse cursor over them:
// the value, the eMule runtime and the real date under the mouse, and the
// special events within five pixels of it. The boxes sit in the strip the
// charts keep free at their top.
class tGraphReadout : public QObject {
    Q_OBJECT

public:
    tGraphReadout(tGraphChart& requests, tGraphChart& transferred, tReadoutContext context,
                  std::string eventsPath);

    QLineEdit& dateTimeBox() { return *dateTimeBox_; }
    QTextEdit& lastEventBox() { return *lastEventBox_; }

    // The chart and the position of the mouse, in global coordinates, with
    // the keys held. Without a chart, the one whose plot area holds the mouse
    // (the transferred chart when neither does). Outside a plot area, or
    // with outside set, both boxes are emptied and the cursor is the arrow.
    void showValuesAtCursor(tGraphChart* chart, QPoint globalPosition, Qt::KeyboardModifiers keys,
                            bool outside = false);

    // cursorToTime: the runtime and date at a pixel column of a chart, from
    // the ConnRunTime log as it is on disk now.
    tCursorTime cursorToTime(tGraphChart& chart, double x);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clear();
    tCursorTime timeAt(tGraphChart& chart, double x) const;
    void placeBoxes();
    QString timeText(const tCursorTime& time) const;
    void showEvents(const tCursorTime& from, const tCursorTime& to);
    void appendEvents(const QString& text, const QColor& colour);
    QColor eventColour(const tEvent& event) const;

    tGraphChart& requests_;
    tGraphChart& transferred_;
    tReadoutContext context_;
    tReadoutSources sources_;
    QLineEdit* dateTimeBox_;
    QTextEdit* lastEventBox_;
    QCursor zoomIn_;
    QCursor zoomOut_;
};

} // namespace pln
