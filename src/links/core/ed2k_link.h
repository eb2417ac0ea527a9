#pragma once

#include "emulefiles/core/known_met_record.h"

#include <string>

namespace pln {

// "ed2k://|file|NAME|SIZE|HASH|/", or "...|HASH|h=AICH|/" when the record has
// an AICH hash; the name in the link encoding.
std::string ed2kLink(const tKnownMetRecord& record);

} // namespace pln
