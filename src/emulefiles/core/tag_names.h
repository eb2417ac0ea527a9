#pragma once

#include "emulefiles/core/known_met_tag.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace pln {

// The display name of an id-named tag (ids 1..255); empty for ids without one.
std::string_view knownMetTagName(std::uint8_t id);

// How a tag is labelled: its name from the table, else its id in decimal,
// else its own text name.
std::string knownMetTagLabel(const tKnownMetTag& tag);

// The display name of a type code; empty for codes without one.
std::string_view knownMetTagTypeName(std::uint8_t type);

} // namespace pln
