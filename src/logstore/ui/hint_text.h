#pragma once

#include <QString>
#include <string_view>

class QWidget;

namespace pln {

// Hint texts are written on one line: backslash and "n" and a semicolon
// followed by three spaces break the line, two backslashes stand for one.
QString hintText(std::string_view text);

// Shows the hint on the control for 10 seconds, long enough to read the
// longer explanations.
void setHint(QWidget& control, std::string_view text);

} // namespace pln
