#include "graphs/core/graph_csv.h"

#include "graphs/core/colors.h"

#include <charconv>
#include <cstdio>
#include <utility>

namespace pln {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

} // namespace

std::string colourHex(tColour colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", redOf(colour), greenOf(colour),
                  blueOf(colour));
    return text;
}

std::string shortestReal(double value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, result.ptr};
}

const char* chartName(tChartId chart) {
    return chart == tChartId::requests ? "requests" : "transferred";
}

std::string graphCsv(const tGraphResult& r) {
    std::string out = "axis," + std::string(r.runtimeAxis ? "runtime" : "date") + ',' +
                      quoted(r.bottomAxisTitle) + ',' + shortestReal(r.bottomMin) + ',' +
                      shortestReal(r.bottomMax) + '\n';
    out += "zoomBarMaximum," +
           (r.zoomBarMaximum ? std::to_string(*r.zoomBarMaximum) : std::string("none")) + '\n';
    for (auto [chart, legend] : {std::pair{tChartId::requests, &r.requestsLegend},
                                 std::pair{tChartId::transferred, &r.transfersLegend}})
        for (const tLegendPiece& piece : *legend)
            out += "legend," + std::string(chartName(chart)) + ',' + colourHex(piece.colour) + ',' +
                   quoted(piece.text) + '\n';
    for (const auto& chart : r.series)
        for (const tGraphSeries& s : chart) {
            const std::string key =
                std::string(chartName(s.chart)) + ',' + std::to_string(s.index) + ',';
            out += "series," + key + quoted(s.title) + ',' + colourHex(s.colour) + ',' +
                   std::to_string(s.points.size()) + '\n';
            for (const tGraphPoint& p : s.points)
                out += "point," + key + shortestReal(p.x) + ',' + shortestReal(p.y) + '\n';
        }
    return out;
}

} // namespace pln
