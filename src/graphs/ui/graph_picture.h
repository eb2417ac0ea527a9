#pragma once

#include "graphs/ui/graph_applier.h"

#include <QSize>
#include <QString>
#include <string>

namespace pln {

// The widest picture of the graphs a user can ask for: wider ones would take
// more memory than a picture is worth.
inline constexpr int maxPictureWidth = 8000;
inline constexpr int minPictureWidth = 100;

// The charts as they are shown, one above the other, each with its legend
// at its right: the size of that picture at the screen's scale.
QSize graphPictureSize(tGraphCharts& charts);

// Writes that picture scaled to the given width (the shown size for 0) as
// SVG when the file name ends in ".svg", else as PNG. The file is replaced
// only once the whole picture is written. Throws Error naming the file and
// the reason.
void saveGraphPicture(tGraphCharts& charts, const QString& fileName, int width);

// Writes text to a file, replacing it only once the whole text is written.
// Throws Error naming the file and the reason.
void saveTextFile(const QString& fileName, const std::string& text);

} // namespace pln
