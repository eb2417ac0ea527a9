#pragma once

#include "graphs/core/graph_data.h"

#include <vector>

class QTextEdit;

namespace pln {

// Writes legend pieces at the end of a legend box, each in its colour; a
// "\r\n" in a piece ends the line.
void appendLegend(QTextEdit& box, const std::vector<tLegendPiece>& pieces);

} // namespace pln
