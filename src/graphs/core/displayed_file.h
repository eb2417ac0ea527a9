#pragma once

#include <string_view>

namespace pln {

class tKnownMetList;
class tKnownMetRecord;

// The known file of that hash (32 hexadecimal digits) when it is on the
// graphs now: in known.met and given a display colour by the last drawing.
// Null otherwise, also without known.met.
const tKnownMetRecord* getDisplayedFile(const tKnownMetList* list, std::string_view hash);

} // namespace pln
