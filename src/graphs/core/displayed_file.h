#pragma once

#include "common/colour.h"

#include <optional>
#include <string>

namespace pln {

class tDrawnColours;
class tKnownMetList;

// The colour of the known file of that hash (32 hexadecimal digits) when it
// is on the graphs now: in known.met and drawn by the last drawing. Nothing
// otherwise, also without known.met.
std::optional<tColour> displayedFileColour(const tKnownMetList* list, const tDrawnColours& drawn,
                                           const std::string& hash);

} // namespace pln
