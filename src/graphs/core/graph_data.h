#pragma once

// The plain result of a drawing and what it is computed from.
//
// Applying a result to the window:
//  1. Empty both legend boxes and every series of both charts; mark the x
//     values as date-times when runtimeAxis is false, as plain numbers
//     otherwise. Uncheck the axis toggle when runtimeAxisUnavailable is set.
//  2. Set the bottom-axis title of the transferred chart to bottomAxisTitle.
//  3. Fill series[chart][index] with its points in order (title and colour
//     come with it); x is days of the calendar (1899-12-30 = 0) on the date
//     axis and eMule runtime days on the runtime axis. Index 0 of both charts
//     is the events bar series, every point there has y = 1.
//  4. Set both bottom axes to bottomMin..bottomMax.
//  5. Append the legend pieces of each box in order, each in its colour; a
//     piece ending in "\r\n" ends a line.
//  6. When zoomBarMaximum is set, give it to the zoom bar (which may move the
//     zoom and scroll bars and so request another drawing).
//  7. Keep drawnColours for the lists, repaint them, and refresh the read-out.

#include "common/colour.h"
#include "graphs/core/colors.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pln {

class tEventsLog;
class tLogFile;
class tLogFiles;
class tKnownMetRecord;

enum class tChartId : std::uint8_t { requests = 0, transferred = 1 };

inline constexpr std::size_t transferredSeriesCount = colorSlotCount;
inline constexpr std::size_t maxKnownFileSlots = 3;
inline constexpr std::size_t maxStatLogsPerChart = 6;
// A log is drawn only with at least this many records.
inline constexpr std::int32_t minRecordsToDraw = 4;
// eMule saves its files every 11 minutes: one period per point at most.
inline constexpr std::int64_t savePeriodSeconds = 660;

// What a drawing is asked to show.
struct tGraphRequest {
    // Every log the drawing may use; the ones it loads are unloaded again
    // before it returns.
    tLogFiles* logFiles = nullptr;
    // known.met is loaded; without it only empty charts are drawn.
    bool knownMetLoaded = false;
    // The wish of the axis toggle; honoured when the ConnRunTime log has
    // records.
    bool runtimeAxis = true;
    const tKnownMetRecord* referenceFile1 = nullptr;
    const tKnownMetRecord* referenceFile2 = nullptr;
    // The selected known files and stats logs, in list order.
    std::vector<const tKnownMetRecord*> selectedKnownFiles;
    std::vector<tLogFile*> selectedStatLogs;
    // Zoom bar position (1 = whole range) and scroll bar position (tenths of
    // the visible window).
    int zoom = 1;
    int scroll = 0;
    // Width in pixels of the requests chart's whole rectangle.
    int chartWidth = 0;
    int pointsPerPixel = 4;
    tChartColours colours;
    // The special events to mark; none when null.
    const tEventsLog* events = nullptr;
};

struct tGraphPoint {
    double x = 0;
    double y = 0;
};

struct tGraphSeries {
    tChartId chart = tChartId::requests;
    int index = 0;
    std::string title;
    tColour colour = 0;
    std::vector<tGraphPoint> points;
};

struct tLegendPiece {
    tColour colour = 0;
    std::string text;
};

// A known file drawn in slot 1..3, and a stats log drawn as the m-th log of
// its chart (m from 0): what the lists paint in the item's display colour.
struct tDrawnKnownFile {
    std::string hash;
    int slot = 0;
    tColour colour = 0;
};

struct tDrawnStatLog {
    std::string name;
    tChartId chart = tChartId::requests;
    int position = 0;
    tColour colour = 0;
};

struct tGraphResult {
    bool runtimeAxis = false;
    // The runtime axis was asked for but the ConnRunTime log is missing or
    // empty: the toggle is to be unchecked.
    bool runtimeAxisUnavailable = false;
    std::string bottomAxisTitle;
    double bottomMin = 0;
    double bottomMax = 0;
    // series[0] holds the requests chart's 13 series, series[1] the
    // transferred chart's 10, in index order.
    std::array<std::vector<tGraphSeries>, 2> series;
    std::vector<tLegendPiece> requestsLegend;
    std::vector<tLegendPiece> transfersLegend;
    std::optional<int> zoomBarMaximum;
    std::vector<tDrawnKnownFile> drawnKnownFiles;
    std::vector<tDrawnStatLog> drawnStatLogs;

    const tGraphSeries& at(tChartId chart, int index) const {
        return series[static_cast<std::size_t>(chart)].at(static_cast<std::size_t>(index));
    }
};

// "Requested 1", "Accepted 1", ..., "Inifile 6", "Transferred 1", "Events".
std::string seriesTitle(tChartId chart, int index);

// Computes a drawing. Errors of the log store are reported through the
// catalogue's prompter; every log loaded here is unloaded on return, also
// when an error escapes.
tGraphResult computeGraphs(const tGraphRequest& request);

// The colours a drawing gave the known files (by hash, in any letter case)
// and the stats logs (by name) it drew; the ones not drawn have none.
class tDrawnColours {
public:
    std::optional<tColour> fileColour(const std::string& hash) const;
    std::optional<tColour> logColour(const std::string& name) const;
    // A file or log that leaves or joins the selection loses its colour
    // until the next drawing gives it one again.
    void forgetFile(const std::string& hash);
    void forgetLog(const std::string& name);

    friend tDrawnColours drawnColours(const tGraphResult& result);

private:
    std::map<std::string, tColour> files_;
    std::map<std::string, tColour> logs_;
};

tDrawnColours drawnColours(const tGraphResult& result);

// What the lists have selected for drawing, by key (hash or log name), so
// that a reload between the selection and the drawing leaves nothing
// dangling: the keys are looked up afresh at each drawing.
struct tGraphSelection {
    std::string reference1;
    std::string reference2;
    // In list order.
    std::vector<std::string> files;
    std::vector<std::string> logs;

    bool operator==(const tGraphSelection&) const = default;
};

} // namespace pln
