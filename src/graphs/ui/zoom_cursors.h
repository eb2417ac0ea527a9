#pragma once

#include <QCursor>

namespace pln {

// The mouse cursors over a plot area while Shift (zoom in) or Ctrl (zoom
// out) is held: a magnifying glass with a plus or a minus. Each call draws
// the image anew; users keep the cursor they made.
QCursor zoomInCursor();
QCursor zoomOutCursor();

} // namespace pln
