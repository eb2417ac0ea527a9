#pragma once

#include "graphs/core/graph_data.h"

#include <string>

namespace pln {

// The text forms a drawing is written out with, the same for every program
// that writes one.

// "#RRGGBB".
std::string colourHex(tColour colour);
// The shortest text that reads back as the same double.
std::string shortestReal(double value);
// "requests" or "transferred".
const char* chartName(tChartId chart);

// A drawing as CSV: the bottom axis, the zoom bar maximum, the legend pieces
// of both charts, then each series with its points, one record a line:
//   axis,runtime|date,"TITLE",MIN,MAX
//   zoomBarMaximum,N|none
//   legend,CHART,#RRGGBB,"TEXT"
//   series,CHART,INDEX,"TITLE",#RRGGBB,POINTS
//   point,CHART,INDEX,X,Y
std::string graphCsv(const tGraphResult& result);

} // namespace pln
