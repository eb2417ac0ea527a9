#pragma once

#include "common/colour.h"

#include <QColor>
#include <QPixmap>

namespace pln {

QColor toQColor(tColour colour);
tColour fromQColor(const QColor& colour);

// A small filled square with a dark outline, the mark of a colour in a list.
QPixmap colourSwatch(tColour colour, int size);

} // namespace pln
