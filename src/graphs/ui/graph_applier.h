#pragma once

#include "graphs/core/graph_data.h"

class QTextEdit;

namespace pln {

class tGraphChart;

// The two charts and their legend boxes, as a drawing fills them.
struct tGraphCharts {
    tGraphChart& requests;
    tGraphChart& transferred;
    QTextEdit& requestsLegend;
    QTextEdit& transfersLegend;
};

// Shows a computed drawing: the series with their colours, the bottom axes'
// kind, range and title, the event bars and the legend lines. What else the
// drawing decides (zoom bar, axis toggle, the lists' colours) is the
// window's.
void applyGraphResult(const tGraphResult& result, tGraphCharts& charts);

} // namespace pln
