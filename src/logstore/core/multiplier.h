#pragma once

#include <optional>
#include <string_view>

namespace pln {

// A decimal number as the user types it: optional sign, digits with at most
// one decimal separator, optional exponent. Empty when the whole text is not
// such a number or its value is not finite.
std::optional<double> parseDecimal(std::string_view text, char decimalSeparator = '.');

// The value of a multiplier text: numbers joined by "*" and "/", evaluated
// from left to right ("24 * 3600 / 1024 / 1024"). The missing value (NaN)
// when the text is empty, a term is empty or not a number, an operator has
// nothing after it, a divisor is 0, or the result is 0 or not finite.
double getMultiplier(std::string_view text, char decimalSeparator = '.');

} // namespace pln
