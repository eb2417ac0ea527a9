#pragma once

#include "common/settings_store.h"
#include "graphs/core/colors.h"
#include "graphs/core/events_log.h"
#include "graphs/core/graph_data.h"
#include "graphs/core/zoom_scroll.h"
#include "platform/clock.h"

#include <QPoint>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QScrollBar;
class QTextEdit;

namespace pln {

class Prompter;
class tDrawnLogsWatch;
class tGraphChart;
class tGraphReadout;
class tKnownMet;
class tKnownMetRecord;
class tLogFile;
class tLogFiles;

// The actions of the graphics menu and the charts' pop-up menu.
struct tGraphActions {
    QAction& runtimeAxis;
    QAction& colours;
    QAction& options;
    QAction& saveImage;
    QAction& saveData;
    QMenu& chartPopup;
};

// What the graphs read and whom they tell.
struct tGraphsContext {
    tLogFiles& logFiles;
    const tKnownMet& knownMet;
    tSettingsStore& settings;
    Prompter& prompter;
    std::string eventsPath;
    // Read by every drawing, changed by the options dialog.
    int& pointsPerPixel;
    // Where each drawing leaves the colours it gave the files and logs.
    tDrawnColours& drawnColours;
    tGraphActions actions;
    // Schedule a drawing, or the read-out under the mouse, for idle time.
    std::function<void()> redrawRequested;
    std::function<void()> readoutRequested;
};

// The statistics graphs: the two charts above the scroll and zoom bars, the
// legend boxes the window places where it likes, the drawing of the
// selection at idle time, the read-out under the mouse, zooming and
// scrolling, the events editor on a double click, and the colours and
// options of the graphics menu.
class tGraphsPanel : public QWidget {
    Q_OBJECT

public:
    tGraphsPanel(tGraphsContext context, QWidget* parent);
    ~tGraphsPanel() override;

    QWidget& legend() { return *legend_; }
    tGraphChart& requestsChart() { return *requests_; }
    tGraphChart& transferredChart() { return *transferred_; }
    tGraphReadout& readout() { return *readout_; }
    QScrollBar& zoomBar() { return *zoomBar_; }
    QScrollBar& scrollBar() { return *scrollBar_; }
    // The drawing the current selection and view ask for, its events read
    // into `events`.
    tGraphRequest request(tEventsLog& events);

    // The files and logs to draw from now on; the ones that join or leave
    // it lose their colour until they are drawn again.
    void setSelection(tGraphSelection selection);
    const tGraphSelection& selection() const { return selection_; }
    void drawGraphics();
    // The read-out for the mouse where it is now, with the keys held now.
    void showValuesAtCursor();

signals:
    // A drawing changed the colours of the drawn files and logs.
    void coloursChanged();

private:
    void buildBars();
    void buildLegend();
    void connectCharts();
    void connectChart(tGraphChart& chart);
    void chartClick(tGraphChart& chart, QPoint position, Qt::KeyboardModifiers keys);
    void chartDblClick(tGraphChart& chart, QPoint position, Qt::KeyboardModifiers keys);
    void barsMoved();
    void showView();
    void editEventsLog(std::optional<CalendarMs> date);
    void aColorsExecute();
    void aGraphOptionsExecute();
    void watchDrawnLogs(const tGraphResult& result, const std::vector<tLogFile*>& statLogs);
    const tKnownMetRecord* knownFile(const std::string& hash) const;
    std::optional<tColour> displayedColour(const std::string& hash) const;

    tGraphsContext context_;
    std::unique_ptr<tGraphChart> requests_;
    std::unique_ptr<tGraphChart> transferred_;
    std::unique_ptr<tGraphReadout> readout_;
    QScrollBar* scrollBar_ = nullptr;
    QScrollBar* zoomBar_ = nullptr;
    QWidget* legend_ = nullptr;
    QTextEdit* requestsLegend_ = nullptr;
    QTextEdit* transfersLegend_ = nullptr;
    tGraphView view_;
    tGraphSelection selection_;
    tChartColours colours_;
    tGraphResult shown_;
    tDrawnLogsWatch* drawnLogs_ = nullptr;
    // Every drawing reads events.log; its bad lines are reported once a version.
    std::optional<tEventsFileState> eventsRead_;
};

} // namespace pln
