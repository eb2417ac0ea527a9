#pragma once

namespace pln {

// The decimal separator of the user's locale when it is one byte, else ".".
// Number entries take it and "." alike.
char localDecimalSeparator();

} // namespace pln
