#pragma once

#include "graphs/core/colors.h"
#include "graphs/core/events_log.h"
#include "graphs/core/graph_data.h"
#include "platform/clock.h"

#include <QObject>
#include <QPoint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QScrollBar;
class QTextEdit;

namespace pln {

class tDrawnLogsWatch;
class tGraphChart;
struct tGraphResult;
class tLogFile;
class tGraphReadout;
class tKnownMetRecord;
class tMainForm;

// The statistics graphs of the main window: the two charts in their
// panels, the drawing the window asks for at idle time, the read-out under
// the mouse, zooming and scrolling, the events editor on a double click, and
// the colours and options of the graphics menu.
class tGraphsPanel : public QObject {
    Q_OBJECT

public:
    explicit tGraphsPanel(tMainForm& form);
    ~tGraphsPanel() override;

    tGraphChart& requestsChart() { return *requests_; }
    tGraphChart& transferredChart() { return *transferred_; }
    tGraphReadout& readout() { return *readout_; }
    QScrollBar& zoomBar() { return *zoomBar_; }
    QScrollBar& scrollBar() { return *scrollBar_; }
    const tChartColours& colours() const { return colours_; }
    // The drawing the charts show now.
    const tGraphResult& shownDrawing() const { return shown_; }

    void drawGraphics();
    // The read-out for the mouse where it is now, with the keys held now.
    void showValuesAtCursor();
    const tKnownMetRecord* getDisplayedFile(const std::string& hash) const;

private:
    void connectCharts();
    void connectChart(tGraphChart& chart);
    void chartClick(tGraphChart& chart, QPoint position, Qt::KeyboardModifiers keys);
    void chartDblClick(tGraphChart& chart, QPoint position, Qt::KeyboardModifiers keys);
    void zoomBarChange();
    void editEventsLog(std::optional<CalendarMs> date);
    void aColorsExecute();
    void aGraphOptionsExecute();
    void redraw();
    void watchDrawnLogs(const tGraphResult& result, const std::vector<tLogFile*>& statLogs);
    tGraphSettings settings();

    tMainForm& form_;
    std::unique_ptr<tGraphChart> requests_;
    std::unique_ptr<tGraphChart> transferred_;
    std::unique_ptr<tGraphReadout> readout_;
    QScrollBar* zoomBar_;
    QScrollBar* scrollBar_;
    QTextEdit* requestsLegend_;
    QTextEdit* transfersLegend_;
    tChartColours colours_;
    tGraphResult shown_;
    tDrawnLogsWatch* drawnLogs_ = nullptr;
    // Every drawing reads events.log; its bad lines are reported once a version.
    std::optional<tEventsFileState> eventsRead_;
};

} // namespace pln
